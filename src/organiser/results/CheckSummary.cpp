#include "organiser/results/CheckSummary.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string_view>

#include "core/crosscheck/StationCall.h"
#include "core/text/Ascii.h"
#include "core/text/Utf8.h"
#include "organiser/files/FileNames.h"
#include "organiser/results/CheckReport.h"
#include "organiser/results/Plural.h"
#include "organiser/results/TextColumns.h"

namespace zeltra::organiser {
namespace {

std::vector<CheckSummary::CallCount> MostFirst(const std::map<std::string, std::size_t>& counts) {
  std::vector<CheckSummary::CallCount> list;
  for (const auto& [call, count] : counts) list.push_back({call, count});
  std::stable_sort(list.begin(), list.end(),
                   [](const auto& a, const auto& b) { return a.count > b.count; });
  return list;
}

void WriteCounts(std::ostream& out, const std::string& title,
                 const std::vector<CheckSummary::CallCount>& counts, const std::string& what) {
  out << "\n" << title << ": " << counts.size() << "\n";
  std::vector<std::vector<std::string>> rows;
  for (const auto& [call, count] : counts) rows.push_back({Printable(call), std::to_string(count)});
  if (!rows.empty()) WriteAlignedColumns(out, {"Call", what}, rows, {true, false});
}

}  // namespace

CheckSummary SummaryOf(const std::vector<CheckedLog>& logs, const LogCheck& check) {
  CheckSummary summary;
  std::map<std::string, std::size_t> copied;
  std::map<std::string, std::size_t> nils;
  std::map<std::string, std::size_t> workedWithoutLog;
  for (const CheckedLog& log : logs) {
    if (!log.checkIndex) continue;
    std::set<std::string_view> withoutLog;
    // A log joined to another of its station is counted, and its clock
    // told, with that one.
    if (log.joinedTo == nullptr) {
      for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
        summary.verdicts[verdict] += log.counts[verdict];
      summary.unreadable += log.log.skipped;
      summary.leftOut += log.log.leftOut;
      const ClockJudgement& clock = check.Clock(*log.checkIndex);
      if (clock.offset != 0)
        summary.clocksOff.push_back({log.log.callSign, clock.offset, clock.pairs, clock.agreeing});
    }
    const std::size_t index = *log.checkIndex;
    for (std::size_t i = 0; i < check.QsoCount(index); ++i) {
      // Most lines are ok: the whole finding is looked up only where it is
      // needed.
      const Verdict verdict = check.QsoVerdict(index, i);
      if (verdict == Verdict::kBustedCall) ++copied[std::string(check.Qso(index, i).detail)];
      // A NIL of this log's own error (a band or a time logged wrongly) is
      // no NIL the other station caused.
      if (verdict == Verdict::kNil && !check.Qso(index, i).ownFault)
        ++nils[std::string(check.QsoCall(index, i))];
      if (verdict == Verdict::kUnchecked || verdict == Verdict::kUnique)
        withoutLog.insert(check.QsoCall(index, i));
    }
    for (const std::string_view call : withoutLog) ++workedWithoutLog[std::string(call)];
  }
  summary.copiedWrongly = MostFirst(copied);
  summary.nilsCaused = MostFirst(nils);
  // A station sent a log when a log holds its call, whatever became of the
  // log's lines: read in part, not checked, or set aside.
  std::set<std::string> sent;
  for (const CheckedLog& log : logs)
    if (!log.log.callSign.empty()) sent.insert(AsciiUpper(StationCall(log.log.callSign)));
  for (auto worked = workedWithoutLog.begin(); worked != workedWithoutLog.end();)
    worked = worked->second < kManyLogs || sent.count(std::string(StationCall(worked->first))) > 0
                 ? workedWithoutLog.erase(worked)
                 : std::next(worked);
  summary.missingLogs = MostFirst(workedWithoutLog);
  std::sort(summary.clocksOff.begin(), summary.clocksOff.end(),
            [](const auto& a, const auto& b) { return a.call < b.call; });
  summary.logsToLookAt = LogsToLookAt(logs, check);
  return summary;
}

std::string_view ConcernName(Concern concern) {
  switch (concern) {
    case Concern::kNoStationWithLog:
      return "no-station-with-log";
    case Concern::kFewConfirmed:
      return "few-confirmed";
    case Concern::kSharesWithOther:
      return "shares-with-other";
    case Concern::kCallNotACall:
      return "call-not-a-call";
    case Concern::kCallTooLong:
      return "call-too-long";
    case Concern::kUnknownCategory:
      return "unknown-category";
    case Concern::kOffCategoryBand:
      return "off-category-band";
    case Concern::kBandsInOneMinute:
      return "bands-in-one-minute";
    case Concern::kClaimedFarOff:
      return "claimed-far-off";
    case Concern::kSentSerialsOff:
      return "sent-serials-off";
  }
  return "";
}

std::string LookAtText(const LogToLookAt& entry) {
  constexpr std::size_t kPerCent = 100;
  constexpr std::size_t kPerMille = 1000;
  switch (entry.concern) {
    case Concern::kNoStationWithLog:
      return "none of its " + Plural(entry.of, "QSO") + " is with a station that sent a log";
    case Concern::kFewConfirmed:
      return "the logs of the stations it worked hold " + std::to_string(entry.count) + " of its " +
             Plural(entry.of, "QSO") + " with them (" +
             std::to_string(entry.count * kPerCent / entry.of) + "%; usually " +
             std::to_string(entry.usualPerMille * kPerCent / kPerMille) + "%)";
    case Concern::kSharesWithOther:
      return std::to_string(entry.count) + " of its " + Plural(entry.of, "QSO") +
             " are with the calls, on the bands and at the minutes of " +
             Printable(entry.other->log.callSign) + "'s (" +
             Printable(FileNameOf(entry.other->log.file)) + ")";
    case Concern::kCallNotACall:
      return "its call has a character no call has (only A-Z, 0-9 and /)";
    case Concern::kCallTooLong:
      return "its call is " + std::to_string(entry.count) + " characters long (at most " +
             std::to_string(kLongestCall) + ")";
    case Concern::kUnknownCategory:
      return Printable(entry.detail) + " is no category the contest knows";
    case Concern::kOffCategoryBand:
      return Plural(entry.count, "QSO") + " on bands other than its category's " +
             Printable(entry.detail) + ": they count nothing";
    case Concern::kBandsInOneMinute:
      return "one transmitter, yet QSOs on two bands within one minute, " +
             Plural(entry.count, "time");
    case Concern::kClaimedFarOff:
      return "claims " + std::to_string(entry.count) + ", scores " + std::to_string(entry.of) +
             " before the check";
    case Concern::kSentSerialsOff:
      return SentSerialsOffText("its", *entry.sentSerials) +
             (entry.sentSerials->charged ? ": its QSOs with them are busted exchanges"
                                         : ": its QSOs with them stay");
  }
  return {};
}

void WriteSummaryText(std::ostream& out, const CheckSummary& summary) {
  out << "Log check of the contest\n\nQSO lines by verdict:";
  for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
    out << (verdict == 0 ? " " : ", ") << kVerdictNames[verdict] << " "
        << summary.verdicts[verdict];
  out << ", " << kUnreadable << " " << summary.unreadable << ", " << kLeftOut << " "
      << summary.leftOut << "\n";
  WriteCounts(out, "Calls copied wrongly in other logs", summary.copiedWrongly, "Times");
  WriteCounts(out, "NILs each station caused in other logs", summary.nilsCaused, "NILs");
  WriteCounts(out,
              "Calls worked in " + std::to_string(kManyLogs) + " logs or more that sent no log",
              summary.missingLogs, "Logs");
  out << "\nClocks off: " << summary.clocksOff.size() << "\n";
  std::vector<std::vector<std::string>> rows;
  for (const CheckSummary::Clock& clock : summary.clocksOff)
    rows.push_back({Printable(clock.call), ClockText(clock.offset), std::to_string(clock.pairs),
                    std::to_string(clock.agreeing)});
  if (!rows.empty())
    WriteAlignedColumns(out, {"Call", "Clock", "Pairs", "Within a minute"}, rows,
                        {true, true, false, false});
  out << "\nLogs to look at: " << summary.logsToLookAt.size() << "\n";
  rows.clear();
  for (const LogToLookAt& entry : summary.logsToLookAt)
    rows.push_back({Printable(entry.log->log.callSign), Printable(FileNameOf(entry.log->log.file)),
                    LookAtText(entry)});
  if (!rows.empty()) WriteAlignedColumns(out, {"Call", "File", "Why"}, rows, {true, true, true});
  if (summary.overlappingLogs.empty()) return;
  out << "\nLogs of one station that overlap in time, not checked: "
      << summary.overlappingLogs.size() << "\n";
  for (const std::string& overlap : summary.overlappingLogs) out << Printable(overlap) << "\n";
}

}  // namespace zeltra::organiser
