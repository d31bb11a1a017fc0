#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "core/logfile/CountryFile.h"
#include "core/logscore/LogReading.h"
#include "organiser/reading/Diagnostics.h"
#include "organiser/reading/LogFolder.h"
#include "organiser/reading/LogInput.h"
#include "organiser/scoring/BatchSettings.h"
#include "organiser/scoring/LogResult.h"

namespace zeltra::organiser {

// Where a log's contacts go, one by one as each is scored (--contacts).
using ContactSink = std::function<void(const LogResult& log, const ContactRow& row)>;

// One log scored apart from the others, with what it told there: a run
// that scores several at once tells each one's problems in its turn.
struct ScoredFile {
  std::optional<LogResult> result;  // none: a file in a folder that is no log
  LogContents contents;             // kept when asked
  std::string told;
  std::map<std::string, std::size_t> counts;
};

// Scores one log file at a time into its result: opens it, knows its kind,
// reads it, tells its problems, and replays its contacts.
class LogScorer {
 public:
  // sink: where the contacts go when they are listed.
  LogScorer(const BatchSettings& settings, const CountryFile* countries, Diagnostics& diagnostics,
            ContactSink sink = {})
      : settings_(settings),
        countries_(countries),
        diagnostics_(diagnostics),
        sink_(std::move(sink)) {}

  // One log's result; what went wrong told on the diagnostics. Answers
  // none for a file in a folder that is not a log. contents: where the
  // log's contacts go once scored, for a caller that needs them again.
  std::optional<LogResult> Score(const LogFile& file, LogContents* contents = nullptr);

 private:
  LogContents ReadContents(LogInput& input, LogResult& result);
  void Tell(const LogContents& log, const LogResult& result);
  void Read(LogInput& input, LogResult& result, LogContents* contents);

  const BatchSettings& settings_;
  const CountryFile* countries_;
  Diagnostics& diagnostics_;
  ContactSink sink_;
};

ScoredFile ScoreApart(const BatchSettings& settings, const CountryFile* countries,
                      const LogFile& file, bool keepContents, ContactSink sink = {});

}  // namespace zeltra::organiser
