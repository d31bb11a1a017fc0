#pragma once

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zeltra::score {

// A file zeltra-score writes could not be written.
struct OutputFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The name that sends an output to standard output.
inline constexpr std::string_view kStandardOutput = "-";

// The files a run reads: no output may take their place.
class ReadFiles {
 public:
  void Add(const std::string& name);
  bool Holds(const std::filesystem::path& path) const;

 private:
  std::set<std::filesystem::path> files_;
};

// Writes text as the whole of a file: first beside it under another name,
// then put in its place, so that a full disk leaves the old file or none,
// never half of the new one. A symbolic link is written through, and
// stays; a FIFO or a device is written as it is, never replaced. A file
// the run reads is not written over. Throws OutputFailure naming the file.
void WriteWholeFile(const std::string& path, const std::string& text, const ReadFiles& reads);

}  // namespace zeltra::score
