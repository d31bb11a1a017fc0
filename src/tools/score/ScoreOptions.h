#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "organiser/checking/CheckSettings.h"
#include "organiser/results/OutputSettings.h"
#include "organiser/scoring/BatchSettings.h"
#include "organiser/site/SiteSettings.h"

namespace zeltra::score {

// What the command line asks of zeltra-score: the settings of each job
// of the run, and what to write.
struct ScoreOptions {
  std::vector<std::string> inputs;  // files, folders, or "-" for standard input
  std::optional<std::string> odbc;  // a connection string, with table
  std::optional<std::string> table;
  std::optional<std::string> countryFile;
  organiser::BatchSettings batch;
  organiser::OutputSettings output;
  // The organiser's log check: every log of a folder against every other.
  std::optional<std::string> crossCheck;
  organiser::CheckSettings check;
  std::optional<std::string> verdictsFile;
  std::optional<std::string> reportsFolder;
  std::optional<std::string> summaryFile;
  std::vector<std::string> excluded;  // --exclude CALL[=REASON], as given
  std::optional<std::string> categoryMapFile;
  std::optional<std::string> siteFolder;  // the results as a static web site
  organiser::SiteSettings site;           // its settings, the folder among them
  bool checkClaimed = false;
  bool help = false;
  bool version = false;
  // Logs read at once; 0: as many as the machine has cores.
  std::size_t jobs = 0;
};

// The threads a run uses: --jobs, else one per core.
std::size_t JobsFor(std::size_t asked);
inline constexpr std::size_t kMostJobs = 256;

// The bounds of --window, --penalty-nil and --penalty-busted.
inline constexpr std::int64_t kLongestWindowMinutes = 24 * 60;
inline constexpr std::int64_t kLargestNilPenalty = 100;
inline constexpr std::int64_t kLongestReworkMinutes = 7 * 24 * 60;

// Reads the arguments after the program's name, the settings each job
// takes from others filled in. Throws std::invalid_argument with the
// reason for a usage error.
ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments);

// The files and folders the run writes (not standard output): in a folder
// of logs, they are none of the logs.
std::vector<std::string> OutputsOf(const ScoreOptions& options);

// The text --help prints, made from the same declaration the parsing uses.
std::string ScoreUsage();

// What --version prints.
std::string ScoreVersion();

}  // namespace zeltra::score
