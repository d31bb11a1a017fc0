#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace zeltra::organiser {

// One entry of a folder, as the listing tells it.
struct FolderEntry {
  std::string name;  // the folder's name, a separator and the entry's
  std::string leaf;  // the entry's own name
  bool folder = false;
  bool regular = false;  // a plain file, not a folder, device or FIFO
};

// The entries of a folder, "." and ".." left out, in no particular order.
// Windows is asked directly, so that a folder of a path longer than 260
// characters is listed too. error: set when the folder cannot be listed.
std::vector<FolderEntry> FolderEntries(const std::string& folder, std::error_code& error);

}  // namespace zeltra::organiser
