#include "organiser/results/CheckOutput.h"

#include <map>

#include "core/parallel/RunInOrder.h"
#include "core/text/Utf8.h"
#include "organiser/files/FileNames.h"
#include "organiser/results/CheckReport.h"
#include "organiser/results/JsonLogs.h"
#include "organiser/results/TextColumns.h"

namespace zeltra::organiser {
namespace {

// Room made for a verdicts row at first: most rows are shorter.
constexpr std::size_t kRowBytes = 64;

const std::vector<std::string> kHeadings = {
    "Rank", "Call",         "Categories",       "QSOs",    "Claimed", "Score", "Checked",
    "NIL",  "Busted calls", "Busted exchanges", "Uniques", "Clock",   "File",  "Status"};
const std::vector<bool> kLeftAligned = {false, true,  true,  false, false, false, false,
                                        false, false, false, false, false, true,  true};

std::string Number(std::size_t value) {
  return std::to_string(value);
}

std::vector<std::string> Fields(const RankedLog& ranked) {
  const CheckedLog& log = *ranked.log;
  const bool scored = !log.log.Failed();
  const bool checked = log.IsChecked();
  const auto count = [&](Verdict verdict) { return checked ? Number(log.Count(verdict)) : ""; };
  return {ranked.rank ? Number(*ranked.rank) : "",
          Printable(log.log.callSign),
          Printable(log.log.categories),
          scored ? std::to_string(log.log.score->qsos) : "",
          Printable(log.log.claimed.value_or("")),
          scored ? std::to_string(log.log.score->Score()) : "",
          checked ? std::to_string(log.CheckedScore()) : "",
          count(Verdict::kNil),
          count(Verdict::kBustedCall),
          count(Verdict::kBustedExchange),
          count(Verdict::kUnique),
          checked ? std::to_string(log.clockOffset) : "",
          Printable(log.Files()),
          Printable(log.Status())};
}

// The logs of each overlay declared ("CATEGORY-OVERLAY: ROOKIE"), by the
// overlay's name: each overlay ranks its logs again, beside their main
// category.
std::map<std::string, std::vector<const CheckedLog*>> OverlaysOf(
    const std::vector<CheckedLog>& logs) {
  std::map<std::string, std::vector<const CheckedLog*>> overlays;
  for (const CheckedLog& log : logs)
    if (const std::string& overlay = log.log.declared.Value(CategoryKey::kOverlay);
        !overlay.empty() && !log.log.Failed())
      overlays[overlay].push_back(&log);
  return overlays;
}

void WriteResultsText(std::ostream& out, const std::vector<RankedLog>& ranked, bool byCategory) {
  std::vector<std::vector<std::string>> rows;
  bool first = true;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    rows.push_back(Fields(ranked[i]));
    const bool lastOfCategory = i + 1 == ranked.size() ||
                                ranked[i + 1].log->log.categories != ranked[i].log->log.categories;
    if (byCategory && lastOfCategory) {
      const std::string& category = ranked[i].log->log.categories;
      out << (first ? "" : "\n")
          << "Category: " << (category.empty() ? "(none)" : Printable(category)) << "\n";
      WriteAlignedColumns(out, kHeadings, rows, kLeftAligned);
      rows.clear();
      first = false;
    }
  }
  if (!byCategory) WriteAlignedColumns(out, kHeadings, rows, kLeftAligned);
}

void WriteResultsCsv(std::ostream& out, const std::vector<RankedLog>& ranked) {
  out << CsvLine(kHeadings);
  for (const RankedLog& log : ranked) out << CsvLine(Fields(log));
}

Json LogJson(const RankedLog& ranked) {
  const CheckedLog& log = *ranked.log;
  Json entry = {{"rank", ranked.rank ? Json(*ranked.rank) : Json(nullptr)},
                {"call", JsonText(log.log.callSign)},
                {"categories", JsonText(log.log.categories)},
                {"qsos", nullptr},
                {"claimed", log.log.claimedNumber ? Json(*log.log.claimedNumber) : Json(nullptr)},
                {"score", nullptr},
                {"checked", nullptr},
                {"checkedQsos", nullptr},
                {"checkedPoints", nullptr},
                {"checkedMultipliers", nullptr},
                {"nilPenaltyPoints", nullptr},
                {"bustedPenaltyPoints", nullptr},
                {"clockOffset", nullptr},
                {"verdicts", nullptr},
                {"status", JsonText(log.Status())},
                {"file", JsonText(log.log.file)},
                {"joinedFiles", Json::array()}};
  // The station's other logs, checked with this one as one station.
  for (const CheckedLog* other : log.joined)
    entry["joinedFiles"].push_back(JsonText(other->log.file));
  if (!log.log.Failed()) {
    entry["qsos"] = log.log.score->qsos;
    entry["score"] = log.log.score->Score();
  }
  if (log.IsChecked()) {
    entry["checked"] = log.CheckedScore();
    entry["checkedQsos"] = log.checked->qsos;
    entry["checkedPoints"] = log.CheckedPoints();
    entry["checkedMultipliers"] = log.checked->Multipliers();
    entry["nilPenaltyPoints"] = log.nilPenaltyPoints;
    entry["bustedPenaltyPoints"] = log.bustedPenaltyPoints;
    entry["clockOffset"] = log.clockOffset;
    Json verdicts = Json::object();
    for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
      verdicts[std::string(kVerdictNames[verdict])] = log.counts[verdict];
    verdicts[std::string(kUnreadable)] = log.log.skipped;
    verdicts[std::string(kLeftOut)] = log.log.leftOut;
    entry["verdicts"] = std::move(verdicts);
  }
  return entry;
}

Json CallCountsJson(const std::vector<CheckSummary::CallCount>& counts) {
  Json list = Json::array();
  for (const auto& [call, count] : counts)
    list.push_back({{"call", JsonText(call)}, {"count", count}});
  return list;
}

Json SummaryJson(const CheckSummary& summary) {
  Json verdicts = Json::object();
  for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
    verdicts[std::string(kVerdictNames[verdict])] = summary.verdicts[verdict];
  verdicts[std::string(kUnreadable)] = summary.unreadable;
  verdicts[std::string(kLeftOut)] = summary.leftOut;
  Json clocks = Json::array();
  for (const CheckSummary::Clock& clock : summary.clocksOff)
    clocks.push_back({{"call", JsonText(clock.call)},
                      {"offset", clock.offset},
                      {"pairs", clock.pairs},
                      {"agreeing", clock.agreeing}});
  Json overlapping = Json::array();
  for (const std::string& overlap : summary.overlappingLogs)
    overlapping.push_back(JsonText(overlap));
  Json lookAt = Json::array();
  for (const LogToLookAt& entry : summary.logsToLookAt)
    lookAt.push_back({{"call", JsonText(entry.log->log.callSign)},
                      {"file", JsonText(FileNameOf(entry.log->log.file))},
                      {"concern", ConcernName(entry.concern)},
                      {"why", JsonText(LookAtText(entry))}});
  return {{"verdicts", std::move(verdicts)},
          {"copiedWrongly", CallCountsJson(summary.copiedWrongly)},
          {"nilsCaused", CallCountsJson(summary.nilsCaused)},
          {"missingLogs", CallCountsJson(summary.missingLogs)},
          {"clocksOff", std::move(clocks)},
          {"overlappingLogs", std::move(overlapping)},
          {"logsToLookAt", std::move(lookAt)}};
}

}  // namespace

void WriteCheckResults(std::ostream& out, const std::vector<CheckedLog>& logs,
                       const std::vector<NotScored>& notScored, const CheckSummary& summary,
                       const OutputSettings& settings) {
  const std::vector<RankedLog> ranked = RankedByCheckedScore(logs, settings.byCategory);
  switch (settings.format) {
    case Format::kText:
      WriteResultsText(out, ranked, settings.byCategory);
      if (settings.byCategory)
        for (auto& [overlay, members] : OverlaysOf(logs)) {
          out << "\nOverlay: " << Printable(overlay) << "\n";
          WriteResultsText(out, RankedByCheckedScore(std::move(members), false), false);
        }
      return;
    case Format::kCsv:
      return WriteResultsCsv(out, ranked);
    case Format::kJson: {
      JsonLogs document(out);
      for (const RankedLog& log : ranked) document.Log(LogJson(log));
      document.Finish(notScored, {{"summary", SummaryJson(summary)}});
      return;
    }
  }
}

std::string VerdictRowsOf(const CheckedLog& log, const LogCheck& check,
                          const PositionWords& words) {
  std::string rows;
  if (!log.checkIndex && log.notCheckedLines.empty()) return rows;
  rows.reserve(kRowBytes * ((log.checkIndex ? check.QsoCount(*log.checkIndex) : 0) +
                            log.notCheckedLines.size()));
  const std::string own = CsvField(log.log.callSign) + ",";
  // The lines that took no part come in among the others, in the
  // order of the file.
  auto other = log.notCheckedLines.begin();
  const auto rowsBefore = [&](std::size_t position) {
    for (; other != log.notCheckedLines.end() && other->position < position; ++other)
      rows += own + std::to_string(other->position) + "," + CsvField(other->call) + "," +
              CsvField(other->band) + "," + other->time + "," + std::string(other->verdict) + "," +
              CsvField(other->detail) + ",,\n";
  };
  const auto row = [&](const CheckedQso& qso) {
    rowsBefore(qso.position);
    rows += own;
    rows += std::to_string(qso.position);
    rows += ',';
    AppendCsvField(rows, qso.call);
    rows += ',';
    AppendCsvField(rows, qso.band);
    rows += ',';
    AppendTimeText(rows, qso.minute);
    rows += ',';
    rows += VerdictName(qso.verdict);
    rows += ',';
    AppendCsvField(rows, DetailText(qso, words));
    rows += ',';
    if (qso.partnerLog) {
      AppendCsvField(rows, check.OwnCall(*qso.partnerLog));
      rows += ',';
      rows += std::to_string(qso.partnerPosition);
    } else {
      rows += ',';
    }
    rows += '\n';
  };
  if (log.checkIndex) check.ForEachQso(*log.checkIndex, row);
  rowsBefore(SIZE_MAX);
  return rows;
}

void WriteVerdictsCsv(std::ostream& out, const std::vector<CheckedLog>& logs, const LogCheck& check,
                      std::size_t jobs) {
  out << kVerdictsHeading;
  const PositionWords words = PositionWordsOf(logs, check);
  // Each log's rows made on any thread, written in the logs' order.
  RunInOrder<std::string>(
      logs.size(), jobs,
      [&](std::size_t index) { return VerdictRowsOf(logs[index], check, words); },
      [&](std::size_t, std::string&& rows) { out << rows; });
}

}  // namespace zeltra::organiser
