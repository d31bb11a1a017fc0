#include "organiser/reading/LogFolder.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "organiser/files/FileNames.h"
#include "organiser/files/OutputFile.h"
#include "organiser/reading/FolderListing.h"
#include "organiser/reading/LogInput.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

}  // namespace

std::vector<LogFile> LogFiles(const std::vector<std::string>& inputs,
                              std::vector<NotScored>& notScored,
                              const std::vector<std::string>& outputs) {
  std::set<fs::path> written;
  for (const std::string& output : outputs) written.insert(ResolvedFolder(output));
  std::vector<LogFile> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (input == kStandardInput || !fs::is_directory(PathOf(input), error)) {
      files.push_back({input, false});
      continue;
    }
    std::vector<FolderEntry> inFolder = FolderEntries(input, error);
    if (error) notScored.push_back({input, "cannot list the folder: " + error.message(), true});
    std::sort(inFolder.begin(), inFolder.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    const fs::path resolved = written.empty() ? fs::path() : ResolvedFolder(input);
    for (const FolderEntry& entry : inFolder) {
      // A folder this run writes (the site, the reports) is no log. A file
      // it writes is still read: if it is a log, it is kept from being
      // written over.
      if (entry.folder && written.count(resolved / PathOf(entry.leaf)) > 0) continue;
      if (!entry.leaf.empty() && entry.leaf.front() == '.')
        notScored.push_back({entry.name, "hidden"});
      else if (entry.folder)
        notScored.push_back({entry.name, "a folder"});
      else if (!entry.regular)
        notScored.push_back({entry.name, "not a regular file"});
      else
        files.push_back({entry.name, true});
    }
  }
  return files;
}

void TellNoLog(const std::vector<std::string>& inputs, Diagnostics& diagnostics) {
  std::string list;
  for (const std::string& input : inputs) list += (list.empty() ? "" : ", ") + input;
  diagnostics.Failure("no log to score in " + list);
}

void TellNotScored(const std::vector<NotScored>& notScored, Diagnostics& diagnostics) {
  if (notScored.empty()) return;
  std::string list;
  for (const NotScored& file : notScored)
    list += (list.empty() ? "" : ", ") + file.file + " (" + file.reason + ")";
  diagnostics.Error("Not scored: " + list);
}

}  // namespace zeltra::organiser
