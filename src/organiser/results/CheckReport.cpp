#include "organiser/results/CheckReport.h"

#include <algorithm>
#include <string_view>

#include "core/text/UtcMinute.h"
#include "core/text/Utf8.h"
#include "organiser/files/FileNames.h"
#include "organiser/results/Plural.h"
#include "organiser/results/TextColumns.h"

namespace zeltra::organiser {
namespace {

constexpr std::int64_t kTenthsOfPerCent = 1000;
// The scores' labels and their colon take this many columns of the text.
constexpr std::size_t kLabelWidth = 21;

// One section: its title with the count, then a line per entry, or "none".
std::string Section(const std::string& title, const std::vector<std::vector<std::string>>& rows,
                    const std::vector<std::string>& headings) {
  std::string text = "\n" + title + ": " + std::to_string(rows.size()) + "\n";
  if (rows.empty()) return text;
  std::string table = AlignedColumns(headings, rows, std::vector<bool>(headings.size(), true));
  std::string indented;
  std::size_t start = 0;
  while (start < table.size()) {
    const std::size_t end = table.find('\n', start);
    indented += "  " + table.substr(start, end - start + 1);
    start = end + 1;
  }
  return text + indented;
}

// A call likely meant, with how many logs hold it: "SP9AHW, in 12 logs".
std::string HeldText(std::string_view call, const LogCheck& check, const LogsHolding& holding) {
  if (call.empty()) return {};
  const std::optional<std::uint32_t> number = check.CallNumber(call);
  const std::size_t logs = number && *number < holding.size() ? holding[*number] : 0;
  return Printable(call) + ", in " + Plural(logs, "log");
}

}  // namespace

std::string PerCent(std::int64_t part, std::int64_t whole) {
  if (whole <= 0) return "0.0 %";
  const std::int64_t tenths = (part * kTenthsOfPerCent + whole / 2) / whole;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " %";
}

namespace {

// The station's logs: the log itself, then those joined to it.
std::vector<const CheckedLog*> StationLogs(const CheckedLog& log) {
  std::vector<const CheckedLog*> station = {&log};
  station.insert(station.end(), log.joined.begin(), log.joined.end());
  return station;
}

// Where a line is: "line 12"; of a station of several logs, with the file:
// "sp5fff-away.log line 12".
std::string Where(const CheckedLog& station, const CheckedLog& part, std::size_t position) {
  std::string where = part.log.positionWord + " " + std::to_string(position);
  return station.joined.empty() ? where : Printable(FileNameOf(part.log.file)) + " " + where;
}

std::vector<std::vector<std::string>> LinesWith(const CheckedLog& station, const LogCheck& check,
                                                Verdict verdict, const LogsHolding& holding,
                                                const PositionWords& words) {
  std::vector<std::vector<std::string>> rows;
  for (const CheckedLog* log : StationLogs(station)) {
    const std::size_t index = *log->checkIndex;
    for (std::size_t i = 0; i < check.QsoCount(index); ++i) {
      if (check.QsoVerdict(index, i) != verdict) continue;
      const CheckedQso qso = check.Qso(index, i);
      std::vector<std::string> row = {Where(station, *log, qso.position), TimeText(qso.minute),
                                      Printable(qso.band), Printable(qso.call)};
      switch (verdict) {
        case Verdict::kBustedCall:
          row.push_back(HeldText(qso.detail, check, holding));
          break;
        case Verdict::kNil:
          row.push_back(qso.fault != Fault::kNone ? FaultText(qso, words[*qso.partnerLog])
                        : qso.nearest             ? NearestText(*qso.nearest, words[*qso.otherLog])
                                                  : std::string("no line with you"));
          break;
        case Verdict::kBustedExchange:
          row.push_back(Printable(qso.received));
          row.push_back(qso.fault != Fault::kNone ? FaultText(qso, words[*qso.partnerLog])
                                                  : Printable(qso.detail));
          break;
        case Verdict::kUnique:
          row.push_back(HeldText(qso.detail, check, holding));
          break;
        default:
          break;
      }
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

std::vector<std::vector<std::string>> NotCheckedRows(const CheckedLog& station,
                                                     std::string_view verdict) {
  std::vector<std::vector<std::string>> rows;
  for (const CheckedLog* log : StationLogs(station))
    for (const LineNotChecked& line : log->notCheckedLines)
      if (line.verdict == verdict)
        rows.push_back({Where(station, *log, line.position), line.time, Printable(line.band),
                        Printable(line.call), Printable(line.detail)});
  return rows;
}

std::vector<std::vector<std::string>> CopyRows(const std::vector<CopyByOther>& copies,
                                               bool exchange) {
  std::vector<std::vector<std::string>> rows;
  for (const CopyByOther& copy : copies) {
    std::vector<std::string> row = {Printable(copy.station), copy.where, TimeText(copy.minute),
                                    Printable(copy.band), Printable(copy.copied)};
    if (exchange) row.push_back(Printable(copy.sent));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

PositionWords PositionWordsOf(const std::vector<CheckedLog>& logs, const LogCheck& check) {
  PositionWords words(check.LogCount(), "line");
  for (const CheckedLog& log : logs)
    if (log.checkIndex) words[*log.checkIndex] = log.log.positionWord;
  return words;
}

std::string NearestText(const CheckedQso::Nearest& nearest, std::string_view word) {
  return "logged you at " + TimeText(nearest.minute) + " on " + std::string(nearest.band) +
         " MHz (" + std::string(word) + " " + std::to_string(nearest.position) + ")";
}

std::string UnreadableAnswerText(std::size_t position, std::string_view word, bool leftOut) {
  return "their " + std::string(word) + " " + std::to_string(position) +
         (leftOut ? " is left out" : " could not be read");
}

std::string FaultText(const CheckedQso& qso, std::string_view word) {
  const std::string their =
      "their " + std::string(word) + " " + std::to_string(qso.partnerPosition);
  const auto amount = [](std::int32_t by) { return std::to_string(by < 0 ? -by : by); };
  switch (qso.fault) {
    case Fault::kBand:
      return qso.ownFault
                 ? "your band: " + their + " is on another band, as are your lines around it"
                 : "their band: " + their + " is on another band, breaking their run";
    case Fault::kClock:
      return std::string(qso.ownFault ? "your clock: " : "their clock: ") + amount(qso.faultBy) +
             " hours " + ((qso.faultBy > 0) == qso.ownFault ? "fast" : "slow") + " against " +
             their + (qso.ownFault ? ", as against other stations" : "");
    case Fault::kSentSerial:
      return std::string(qso.ownFault ? "your sent serial: " : "their sent serial: ") +
             amount(qso.faultBy) + ((qso.faultBy > 0) == qso.ownFault ? " above" : " below") +
             " what " + (qso.ownFault ? "was copied in " + their : "you copied") +
             ", as other stations copied it";
    case Fault::kNone:
      break;
  }
  return {};
}

std::string SentSerialsOffText(std::string_view whose, const SentSerialsOff& off) {
  const std::int32_t amount = off.by < 0 ? -off.by : off.by;
  return std::string(whose) + " logged sent serials are " + std::to_string(amount) +
         (off.by > 0 ? " above" : " below") + " what " + Plural(off.stations, "station") +
         " copied";
}

std::string DetailText(const CheckedQso& qso, const PositionWords& words) {
  if (qso.fault != Fault::kNone && qso.partnerLog) return FaultText(qso, words[*qso.partnerLog]);
  if (qso.nearest) return NearestText(*qso.nearest, words[*qso.otherLog]);
  if (qso.unreadableAnswer)
    return UnreadableAnswerText(*qso.unreadableAnswer, words[*qso.otherLog], qso.answerLeftOut);
  if (!qso.loggedAs.empty()) return "logged you as " + std::string(qso.loggedAs);
  return std::string(qso.detail);
}

std::vector<CopiesOfEntrant> CopiesByOthers(const std::vector<CheckedLog>& logs,
                                            const LogCheck& check) {
  std::vector<CopiesOfEntrant> copies(check.LogCount());
  for (const CheckedLog& log : logs) {
    if (!log.checkIndex) continue;
    for (std::size_t i = 0; i < check.QsoCount(*log.checkIndex); ++i) {
      const Verdict verdict = check.QsoVerdict(*log.checkIndex, i);
      if (verdict != Verdict::kBustedCall && verdict != Verdict::kBustedExchange) continue;
      const CheckedQso qso = check.Qso(*log.checkIndex, i);
      if (!qso.partnerLog) continue;
      CopyByOther copy{.station = log.log.callSign,
                       .where = log.log.positionWord + " " + std::to_string(qso.position),
                       .band = std::string(qso.band),
                       .minute = qso.minute,
                       .copied = {},
                       .sent = {}};
      if (qso.verdict == Verdict::kBustedCall) {
        copy.copied = qso.call;
        copies[*qso.partnerLog].calls.push_back(std::move(copy));
      } else if (qso.verdict == Verdict::kBustedExchange) {
        copy.copied = qso.received;
        copy.sent = qso.detail;
        copies[*qso.partnerLog].exchanges.push_back(std::move(copy));
      }
    }
  }
  return copies;
}

namespace {

// The scores before and after the check, the penalties and the reduction.
std::vector<std::pair<std::string, std::string>> ScoreLines(const CheckedLog& log,
                                                            const ScoringRules& rules) {
  const LogScore& before = *log.log.score;
  const LogScore& after = *log.checked;
  std::vector<std::pair<std::string, std::string>> scores;
  scores.emplace_back("Claimed score",
                      log.log.claimed ? Printable(*log.log.claimed) : std::string("none"));
  scores.emplace_back("Before the check", std::to_string(before.Score()) + " (" +
                                              Plural(static_cast<std::size_t>(before.qsos), "QSO") +
                                              ", " + std::to_string(before.points) + " points, " +
                                              std::to_string(before.Multipliers()) +
                                              " multipliers)");
  scores.emplace_back("Checked score", std::to_string(log.CheckedScore()) + " (" +
                                           Plural(static_cast<std::size_t>(after.qsos), "QSO") +
                                           ", " + std::to_string(log.CheckedPoints()) +
                                           " points, " + std::to_string(after.Multipliers()) +
                                           " multipliers)");
  if (log.nilPenaltyPoints > 0)
    scores.emplace_back("NIL penalty", std::to_string(log.nilPenaltyPoints) + " points (" +
                                           std::to_string(rules.nilPenalty) +
                                           " more QSOs' points for each NIL)");
  if (log.bustedPenaltyPoints > 0)
    scores.emplace_back("Busted penalty",
                        std::to_string(log.bustedPenaltyPoints) + " points (" +
                            std::to_string(rules.bustedPenalty) +
                            " more QSOs' points for each busted call or exchange)");
  scores.emplace_back("Score reduction",
                      PerCent(before.Score() - log.CheckedScore(), before.Score()) + " (" +
                          std::to_string(before.qsos - after.qsos) + " of " +
                          Plural(static_cast<std::size_t>(before.qsos), "QSO") + " removed, " +
                          PerCent(before.qsos - after.qsos, before.qsos) + ")");
  return scores;
}

// The log's clock as the check found it, and how its times were moved.
std::string ClockLine(const CheckedLog& log, const LogCheck& check) {
  const ClockJudgement& clock = check.Clock(*log.checkIndex);
  std::string text = ClockText(log.clockOffset);
  if (clock.pairs > 0)
    text += ", from " + Plural(clock.pairs, "QSO") + " that can only be each other, " +
            std::to_string(clock.agreeing) + " of them within a minute of it";
  if (log.clockOffset != 0)
    text +=
        "; its times were taken " +
        Plural(static_cast<std::size_t>(log.clockOffset < 0 ? -log.clockOffset : log.clockOffset),
               "minute") +
        (log.clockOffset > 0 ? " earlier" : " later") + " before they were compared";
  return text;
}

// The log's sent serials, where they were found off: the finding, and what
// it did to the QSOs.
std::string SentSerialsLine(const CheckedLog& log, const LogCheck& check) {
  const std::optional<SentSerialsOff> off = check.SentSerials(*log.checkIndex);
  if (!off) return {};
  return SentSerialsOffText("your", *off) +
         (off->charged
              ? "; your QSOs with them are busted exchanges, as the contest's rules have it"
              : "; your QSOs with them stay, as they were made right on the air");
}

// The lines the check removed or doubted, those it could not check, and
// how the others copied this station, a table each.
std::vector<ReportTable> Sections(const CheckedLog& log, const LogCheck& check,
                                  const CopiesOfEntrant& byOthers, const LogsHolding& holding,
                                  const PositionWords& words, const ScoringRules& rules) {
  std::vector<ReportTable> sections;
  const auto lines = [&](Verdict verdict) {
    return LinesWith(log, check, verdict, holding, words);
  };
  sections.push_back({"Not in the other station's log (NIL), removed",
                      {"Line", "Time", "MHz", "Call", "Their log"},
                      lines(Verdict::kNil)});
  sections.push_back({"Busted calls, removed",
                      {"Line", "Time", "MHz", "Call", "Station worked"},
                      lines(Verdict::kBustedCall)});
  sections.push_back({"Busted exchanges, removed",
                      {"Line", "Time", "MHz", "Call", "Copied", "Sent"},
                      lines(Verdict::kBustedExchange)});
  sections.push_back({rules.removeUniques ? "Uniques, removed" : "Uniques, kept",
                      {"Line", "Time", "MHz", "Call", "Likely meant"},
                      lines(Verdict::kUnique)});
  sections.push_back(
      {"Duplicates, not counted", {"Line", "Time", "MHz", "Call"}, lines(Verdict::kDupe)});
  const std::vector<std::string> notChecked = {"Line", "Time", "MHz", "Call", "Why"};
  sections.push_back(
      {"Lines that could not be read, not checked", notChecked, NotCheckedRows(log, kUnreadable)});
  sections.push_back({"Lines left out (mode, band or period), not checked", notChecked,
                      NotCheckedRows(log, kLeftOut)});
  sections.push_back({"Stations that copied your call wrongly",
                      {"Station", "Line", "Time", "MHz", "Logged"},
                      CopyRows(byOthers.calls, false)});
  sections.push_back({"Stations that copied your exchange wrongly",
                      {"Station", "Line", "Time", "MHz", "Copied", "Sent"},
                      CopyRows(byOthers.exchanges, true)});
  return sections;
}

}  // namespace

CheckReport CheckReportOf(const CheckedLog& log, const LogCheck& check,
                          const std::vector<CopiesOfEntrant>& copies, const LogsHolding& holding,
                          const PositionWords& words, const ScoringRules& rules) {
  CheckReport report;
  report.call = Printable(log.log.callSign);
  report.file = Printable(log.FileNames());
  report.otherLogs = check.StationCount() - 1;
  report.scores = ScoreLines(log, rules);
  report.clock = ClockLine(log, check);
  report.sentSerials = SentSerialsLine(log, check);
  std::size_t lines = 0;
  CopiesOfEntrant byOthers;
  for (const CheckedLog* part : StationLogs(log)) {
    lines += check.QsoCount(*part->checkIndex);
    const CopiesOfEntrant& of = copies[*part->checkIndex];
    byOthers.calls.insert(byOthers.calls.end(), of.calls.begin(), of.calls.end());
    byOthers.exchanges.insert(byOthers.exchanges.end(), of.exchanges.begin(), of.exchanges.end());
  }
  report.lineCounts = "QSO lines: " + std::to_string(lines);
  for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
    report.lineCounts += (verdict == 0 ? ": " : ", ") + std::string(kVerdictNames[verdict]) + " " +
                         std::to_string(log.counts[verdict]);
  report.sections = Sections(log, check, byOthers, holding, words, rules);
  return report;
}

std::string CheckReportText(const CheckReport& report, const LogScore& checked) {
  std::string text = "Log-check report for " + report.call + "\n";
  text += "Zeltra RTTY Contest; log " + report.file + ", checked against " +
          Plural(report.otherLogs, "other log") + "\n\n";
  for (const auto& [label, value] : report.scores)
    text += label + ":" + std::string(kLabelWidth - std::min(kLabelWidth, label.size() + 1), ' ') +
            value + "\n";
  text += "\nChecked score by band:\n" + StatisticTableText(checked.summary.table) +
          checked.summary.scoreLine + "\n";
  text += "\nClock: " + report.clock;
  if (!report.sentSerials.empty()) text += "\nSent serials: " + report.sentSerials;
  text += "\n\n" + report.lineCounts + "\n";
  for (const ReportTable& section : report.sections)
    text += Section(section.title, section.rows, section.headings);
  return text;
}

}  // namespace zeltra::organiser
