#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zeltra::organiser {

// A file a run writes could not be written.
struct OutputFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The name that sends an output to standard output.
inline constexpr std::string_view kStandardOutput = "-";

// The files a run reads: no output may take their place.
class InputFiles {
 public:
  void Add(const std::string& name);
  // resolved: a path with its links followed, as ResolvedFolder gives.
  bool Holds(const std::filesystem::path& resolved) const;

 private:
  std::set<std::filesystem::path> files_;
};

// Writes the whole of a file as write makes it, piece by piece: first
// beside it under another name, then put in its place, so that a full disk
// or a failure on the way leaves the old file or none, never half of the
// new one, nor the piece beside it. A symbolic link is written through, and
// stays; a FIFO or a device is written as it is, never replaced. A file
// the run reads is not written over. Throws OutputFailure naming the file,
// or what write threw.
void WriteFile(const std::string& path, const InputFiles& reads,
               const std::function<void(std::ostream&)>& write);
// A folder's path as the system finds it (links followed, ".." resolved).
std::filesystem::path ResolvedFolder(const std::string& name);

void WriteWholeFile(const std::string& path, const std::string& text, const InputFiles& reads);

// An output an option names: written to standard output (out) for "-",
// else as WriteFile writes a file.
void WriteOutput(const std::string& name, std::ostream& out, const InputFiles& reads,
                 const std::function<void(std::ostream&)>& write);

}  // namespace zeltra::organiser
