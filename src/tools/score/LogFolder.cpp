#include "tools/score/LogFolder.h"

#include <algorithm>
#include <filesystem>

#include "tools/score/FileNames.h"
#include "tools/score/LogInput.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

bool IsHidden(const fs::path& path) {
  const std::string name = NameOf(path.filename());
  return !name.empty() && name.front() == '.';
}

}  // namespace

std::vector<LogFile> LogFiles(const std::vector<std::string>& inputs,
                              std::vector<NotScored>& notScored) {
  std::vector<LogFile> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (input == kStandardInput || !fs::is_directory(PathOf(input), error)) {
      files.push_back({input, false});
      continue;
    }
    std::vector<fs::path> inFolder;
    for (const auto& entry : fs::directory_iterator(PathOf(input), error))
      inFolder.push_back(entry.path());
    if (error) notScored.push_back({input, "cannot list the folder: " + error.message(), true});
    std::sort(inFolder.begin(), inFolder.end());
    for (const fs::path& path : inFolder) {
      if (IsHidden(path))
        notScored.push_back({NameOf(path), "hidden"});
      else if (fs::is_directory(path, error))
        notScored.push_back({NameOf(path), "a folder"});
      else if (!fs::is_regular_file(path, error))
        notScored.push_back({NameOf(path), "not a regular file"});
      else
        files.push_back({NameOf(path), true});
    }
  }
  return files;
}

void TellNoLog(const std::vector<std::string>& inputs, Diagnostics& diagnostics) {
  std::string list;
  for (const std::string& input : inputs) list += (list.empty() ? "" : ", ") + input;
  diagnostics.Error("zeltra-score: no log to score in " + list);
}

void TellNotScored(const std::vector<NotScored>& notScored, Diagnostics& diagnostics) {
  if (notScored.empty()) return;
  std::string list;
  for (const NotScored& file : notScored)
    list += (list.empty() ? "" : ", ") + file.file + " (" + file.reason + ")";
  diagnostics.Error("Not scored: " + list);
}

}  // namespace zeltra::score
