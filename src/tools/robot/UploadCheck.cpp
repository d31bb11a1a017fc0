#include "tools/robot/UploadCheck.h"

#include <sstream>

#include "tools/score/FileNames.h"
#include "tools/score/LogScorer.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

// The file a scratch copy is told by is no name of the entrant's: its
// messages speak of "the log".
std::vector<std::string> Told(const std::string& told, const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(told);
  std::string line;
  const std::string prefix = file + ": ";
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line.rfind(prefix, 0) == 0) line = line.substr(prefix.size());
    lines.push_back(std::move(line));
  }
  return lines;
}

constexpr std::size_t kShortestCall = 3;
constexpr std::size_t kLongestCall = 20;

}  // namespace

bool IsCallSign(std::string_view call) {
  if (call.size() < kShortestCall || call.size() > kLongestCall) return false;
  bool letter = false;
  bool digit = false;
  for (const char c : call) {
    const bool isLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool isDigit = c >= '0' && c <= '9';
    if (!isLetter && !isDigit && c != '/') return false;
    letter = letter || isLetter;
    digit = digit || isDigit;
  }
  return letter && digit;
}

std::variant<Acceptable, Refused> CheckUpload(const fs::path& file, const std::string& sha256,
                                              const score::ScoreOptions& options,
                                              const CountryFile* countries) {
  const std::string name = score::NameOf(file);
  score::ScoredFile scored =
      score::ScoreApart(options, countries, {.name = name, .fromFolder = false}, false);
  const score::LogResult& result = *scored.result;
  const std::vector<std::string> told = Told(scored.told, result.file);
  if (result.notALog)
    return Refused{kUnprocessable,
                   {"not a log: no ADIF tags, no ADX, no START-OF-LOG: line; send the log "
                    "your logging program exports as ADIF or Cabrillo"},
                   {}};
  if (result.tooLarge)
    return Refused{kTooLarge,
                   {"the log, unpacked, is larger than the robot takes: at most " +
                    std::to_string(options.largestText) + " bytes"},
                   {}};
  if (result.failed() && !result.noOwnStation) return Refused{kUnprocessable, {result.failure}, {}};
  if (result.callSign.empty())
    return Refused{kUnprocessable,
                   {"the log names no own call: add CALLSIGN: to the Cabrillo header, or "
                    "STATION_CALLSIGN to each ADIF record"},
                   {}};
  if (!IsCallSign(result.callSign))
    return Refused{kUnprocessable,
                   {"the log's own call is not a call sign: it must be 3 to 20 letters, digits "
                    "and /, with a letter and a digit"},
                   result.callSign};
  if (result.score->qsos == 0) {
    Refused refused{
        kUnprocessable, {"the log holds no contact the contest scores"}, result.callSign};
    refused.errors.insert(refused.errors.end(), told.begin(), told.end());
    return refused;
  }
  return Acceptable{{.call = result.callSign,
                     .categories = result.categories,
                     .qsos = result.score->qsos,
                     .claimed = result.claimed,
                     .score = result.score->score(),
                     .sha256 = sha256},
                    told};
}

}  // namespace zeltra::robot
