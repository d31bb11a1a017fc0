#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeltra::score {

enum class Format { kText, kCsv, kJson };
enum class Order { kByCallSign, kLog };

// What the command line asks of zeltra-score.
struct ScoreOptions {
  std::vector<std::string> inputs;  // files, folders, or "-" for standard input
  std::optional<std::string> odbc;  // a connection string, with table
  std::optional<std::string> table;
  std::optional<std::string> myCall;
  std::optional<std::string> myContinent;
  std::optional<std::string> myDxcc;
  std::optional<std::string> countryFile;
  std::string programFolder;  // where the program is: a cty.dat beside it serves
  Order order = Order::kByCallSign;
  Format format = Format::kText;
  // The contest period, UTC, "YYYYMMDDHHMM".
  std::optional<std::string> from;
  std::optional<std::string> to;
  bool contacts = false;
  bool checkClaimed = false;
  bool strict = false;
  bool quiet = false;
  bool anyMode = false;
  bool anyBand = false;
  bool help = false;
  bool version = false;
  // Logs read at once; 0: as many as the machine has cores.
  std::size_t jobs = 0;
  // The organiser's log check: every log of a folder against every other.
  std::optional<std::string> crossCheck;
  std::int64_t windowMinutes = 5;
  // A station may be worked again on a band and mode this many minutes
  // after the QSO that counted; none: never.
  std::optional<std::int64_t> reworkMinutes;
  std::int64_t nilPenalty = 0;     // QSOs' points taken off for each NIL
  std::int64_t bustedPenalty = 0;  // and for each busted call or exchange
  bool removeUniques = false;
  bool byCategory = false;
  std::optional<std::string> verdictsFile;
  std::optional<std::string> reportsFolder;
  std::optional<std::string> summaryFile;
  std::optional<std::string> siteFolder;  // the results as a static web site
  // A log whose text, unpacked, is larger is not read (0: no bound but
  // the one on compression); the robot's, not an option of the command.
  std::uint64_t largestText = 0;
};

// The threads a run uses: --jobs, else one per core.
std::size_t JobsFor(const ScoreOptions& options);
inline constexpr std::size_t kMostJobs = 256;

// The bounds of --window, --nil-penalty and --penalty-busted.
inline constexpr std::int64_t kLongestWindowMinutes = 24 * 60;
inline constexpr std::int64_t kLargestNilPenalty = 100;
inline constexpr std::int64_t kLongestReworkMinutes = 7 * 24 * 60;

// The exit statuses, each its own.
inline constexpr int kExitScored = 0;
inline constexpr int kExitRecordsSkipped = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitClaimedDiffers = 3;
inline constexpr int kExitUnreadable = 4;
inline constexpr int kExitNotALog = 5;
inline constexpr int kExitOutputFailed = 6;

// Reads the arguments after the program's name. Throws std::invalid_argument
// with the reason for a usage error.
ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments);

// The text --help prints, made from the same declaration the parsing uses.
std::string ScoreUsage();

// What --version prints.
std::string ScoreVersion();

// A UTC time as --from and --to take it ("2026-12-06 12:00",
// "2026-12-06T1200", "2026-12-06"), as "YYYYMMDDHHMM"; none when it is not one.
std::optional<std::string> ContestTime(const std::string& text);

}  // namespace zeltra::score
