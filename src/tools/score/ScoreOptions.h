#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zeltra::score {

enum class Format { kText, kCsv, kJson };
enum class Order { kByCallSign, kLog };

// What the command line asks of zeltra-score.
struct ScoreOptions {
  std::vector<std::string> inputs;  // files or folders
  std::optional<std::string> odbc;  // a connection string, with table
  std::optional<std::string> table;
  std::optional<std::string> myCall;
  std::optional<std::string> myContinent;
  std::optional<std::string> myDxcc;
  std::optional<std::string> countryFile;
  std::string programFolder;  // where the program is: a cty.dat beside it serves
  Order order = Order::kByCallSign;
  Format format = Format::kText;
  bool contacts = false;
  bool checkClaimed = false;
  bool strict = false;
  bool help = false;
};

// The exit statuses, each its own.
inline constexpr int kExitScored = 0;
inline constexpr int kExitRecordsSkipped = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitClaimedDiffers = 3;
inline constexpr int kExitUnreadable = 4;

// Reads the arguments after the program's name. Throws std::invalid_argument
// with the reason for a usage error.
ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string ScoreUsage();

}  // namespace zeltra::score
