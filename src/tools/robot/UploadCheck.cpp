#include "tools/robot/UploadCheck.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "organiser/files/FileNames.h"
#include "organiser/scoring/LogScorer.h"
#include "tools/robot/EntrantNotes.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

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

namespace {

// Contest names as entrants and programs write them ("ZELTRA-RTTY", "Zeltra
// RTTY"): the same when their letters and digits are.
bool SameContest(std::string_view named, std::string_view name) {
  const auto letters = [](std::string_view text) {
    std::string kept;
    for (const char c : text)
      if (std::isalnum(static_cast<unsigned char>(c)) != 0)
        kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return kept;
  };
  return letters(named) == letters(name);
}

}  // namespace

std::variant<Acceptable, Refused> CheckUpload(const fs::path& file, const std::string& sha256,
                                              const organiser::ReadSettings& reading,
                                              const std::vector<std::string>& contests,
                                              const CountryFile* countries) {
  const std::string name = organiser::NameOf(file);
  organiser::BatchSettings settings;
  settings.reading = reading;
  organiser::ScoredFile scored =
      organiser::ScoreApart(settings, countries, {.name = name, .fromFolder = false}, true);
  const organiser::LogResult& result = *scored.result;
  const LogContents& log = scored.contents;
  const std::vector<std::string> told =
      EntrantNotes(log, result.positionWord,
                   {reading.from ? std::optional(ShownTime(*reading.from)) : std::nullopt,
                    reading.to ? std::optional(ShownTime(*reading.to)) : std::nullopt});
  if (result.notALog)
    return Refused{kUnprocessable,
                   {"not a log: no ADIF tags, no ADX, no START-OF-LOG: line; send the log "
                    "your logging program exports as ADIF or Cabrillo"},
                   {}};
  if (result.tooLarge)
    return Refused{kTooLarge,
                   {"the log, unpacked, is larger than the robot takes: at most " +
                    std::to_string(reading.largestText) + " bytes"},
                   {}};
  if (result.Failed() && !result.noOwnStation) return Refused{kUnprocessable, {result.failure}, {}};
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
  if (!contests.empty() && log.contest &&
      std::none_of(contests.begin(), contests.end(),
                   [&](const std::string& contest) { return SameContest(*log.contest, contest); }))
    return Refused{kUnprocessable,
                   {"the log is for another contest: its CONTEST: says \"" + *log.contest +
                    "\", and this robot takes logs of " + contests.front() +
                    " only; send the log of this contest"},
                   result.callSign};
  if (result.score->qsos == 0) {
    Refused refused{
        kUnprocessable, {"the log holds no contact the contest scores"}, result.callSign};
    refused.errors.insert(refused.errors.end(), told.begin(), told.end());
    return refused;
  }
  Acceptable taken{{.call = result.callSign,
                    .categories = result.categories,
                    .qsos = result.score->qsos,
                    .claimed = result.claimed,
                    .score = result.score->Score(),
                    .sha256 = sha256},
                   told,
                   log.email};
  if (!contests.empty() && !log.contest)
    taken.warnings.insert(taken.warnings.begin(),
                          "the log does not name its contest: a Cabrillo log says it in its "
                          "CONTEST: line");
  return taken;
}

}  // namespace zeltra::robot
