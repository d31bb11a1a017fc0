#pragma once

#include <string>
#include <vector>

#include "organiser/reading/Diagnostics.h"

namespace zeltra::organiser {

// A log given as a file, or found in a folder.
struct LogFile {
  std::string name;
  bool fromFolder = false;
};

// A file given or found in a folder that was not scored, and why.
struct NotScored {
  std::string file;
  std::string reason;       // "hidden", "not a log"
  bool unreadable = false;  // a folder that could not be listed
};

// The logs to score: files as given, folders opened in name order; what a
// folder holds that is no log file (hidden, a folder, a device) is listed
// in notScored. outputs: the files and folders this run writes; a folder
// among them found in a folder of logs is not listed.
std::vector<LogFile> LogFiles(const std::vector<std::string>& inputs,
                              std::vector<NotScored>& notScored,
                              const std::vector<std::string>& outputs = {});

// "no log to score in INPUT, ...", a failure of the run, on the diagnostics.
void TellNoLog(const std::vector<std::string>& inputs, Diagnostics& diagnostics);

// "Not scored: FILE (REASON), ..." on the diagnostics, when any was not.
void TellNotScored(const std::vector<NotScored>& notScored, Diagnostics& diagnostics);

}  // namespace zeltra::organiser
