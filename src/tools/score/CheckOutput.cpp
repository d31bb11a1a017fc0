#include "tools/score/CheckOutput.h"

#include <nlohmann/json.hpp>

#include "core/text/Utf8.h"
#include "tools/score/CheckReport.h"
#include "tools/score/InOrder.h"
#include "tools/score/TextColumns.h"

namespace zeltra::score {
namespace {

using Json = nlohmann::ordered_json;

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
  const bool scored = !log.log.failed();
  const bool checked = log.IsChecked();
  const auto count = [&](Verdict verdict) { return checked ? Number(log.Count(verdict)) : ""; };
  return {ranked.rank ? Number(*ranked.rank) : "",
          Printable(log.log.callSign),
          Printable(log.log.categories),
          scored ? std::to_string(log.log.score->qsos) : "",
          Printable(log.log.claimed.value_or("")),
          scored ? std::to_string(log.log.score->score()) : "",
          checked ? std::to_string(log.CheckedScore()) : "",
          count(Verdict::kNil),
          count(Verdict::kBustedCall),
          count(Verdict::kBustedExchange),
          count(Verdict::kUnique),
          checked ? std::to_string(log.clockOffset) : "",
          Printable(log.log.file),
          Printable(log.Status())};
}

std::string ResultsText(const std::vector<RankedLog>& ranked, bool byCategory) {
  std::string text;
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    rows.push_back(Fields(ranked[i]));
    const bool lastOfCategory = i + 1 == ranked.size() ||
                                ranked[i + 1].log->log.categories != ranked[i].log->log.categories;
    if (byCategory && lastOfCategory) {
      const std::string& category = ranked[i].log->log.categories;
      text += (text.empty() ? "" : "\n") + std::string("Category: ") +
              (category.empty() ? "(none)" : Printable(category)) + "\n" +
              AlignedColumns(kHeadings, rows, kLeftAligned);
      rows.clear();
    }
  }
  if (!byCategory) text = AlignedColumns(kHeadings, rows, kLeftAligned);
  return text;
}

std::string ResultsCsv(const std::vector<RankedLog>& ranked) {
  std::string csv;
  for (std::size_t column = 0; column < kHeadings.size(); ++column)
    csv += (column > 0 ? "," : "") + kHeadings[column];
  csv += "\n";
  for (const RankedLog& log : ranked) {
    const std::vector<std::string> fields = Fields(log);
    for (std::size_t column = 0; column < fields.size(); ++column)
      csv += (column > 0 ? "," : "") + CsvField(fields[column]);
    csv += "\n";
  }
  return csv;
}

Json Text(std::string_view text) {
  return AsUtf8(text);
}

Json LogJson(const RankedLog& ranked) {
  const CheckedLog& log = *ranked.log;
  Json entry = {{"rank", ranked.rank ? Json(*ranked.rank) : Json(nullptr)},
                {"call", Text(log.log.callSign)},
                {"categories", Text(log.log.categories)},
                {"qsos", nullptr},
                {"claimed", log.log.claimedNumber ? Json(*log.log.claimedNumber) : Json(nullptr)},
                {"score", nullptr},
                {"checked", nullptr},
                {"checkedQsos", nullptr},
                {"checkedPoints", nullptr},
                {"checkedMultipliers", nullptr},
                {"nilPenaltyPoints", nullptr},
                {"clockOffset", nullptr},
                {"verdicts", nullptr},
                {"status", Text(log.Status())},
                {"file", Text(log.log.file)}};
  if (!log.log.failed()) {
    entry["qsos"] = log.log.score->qsos;
    entry["score"] = log.log.score->score();
  }
  if (log.IsChecked()) {
    entry["checked"] = log.CheckedScore();
    entry["checkedQsos"] = log.checked->qsos;
    entry["checkedPoints"] = log.CheckedPoints();
    entry["checkedMultipliers"] = log.checked->multipliers();
    entry["nilPenaltyPoints"] = log.penaltyPoints;
    entry["clockOffset"] = log.clockOffset;
    Json verdicts = Json::object();
    for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
      verdicts[std::string(kVerdictNames[verdict])] = log.counts[verdict];
    entry["verdicts"] = std::move(verdicts);
  }
  return entry;
}

std::string ResultsJson(const std::vector<RankedLog>& ranked,
                        const std::vector<NotScored>& notScored) {
  Json document = {{"logs", Json::array()}, {"notScored", Json::array()}};
  for (const RankedLog& log : ranked) document["logs"].push_back(LogJson(log));
  for (const NotScored& file : notScored)
    document["notScored"].push_back({{"file", Text(file.file)}, {"reason", Text(file.reason)}});
  return document.dump(2, ' ', false) + "\n";
}

}  // namespace

std::string CheckResults(const std::vector<CheckedLog>& logs,
                         const std::vector<NotScored>& notScored, const ScoreOptions& options) {
  const std::vector<RankedLog> ranked = RankedByCheckedScore(logs, options.byCategory);
  switch (options.format) {
    case Format::kText:
      return ResultsText(ranked, options.byCategory);
    case Format::kCsv:
      return ResultsCsv(ranked);
    case Format::kJson:
      return ResultsJson(ranked, notScored);
  }
  return {};
}

std::string VerdictsCsv(const std::vector<CheckedLog>& logs, const LogCheck& check,
                        std::size_t jobs) {
  std::string csv = "log,line,call,band,time,verdict,detail\n";
  // Each log's rows made on any thread, put together in the logs' order.
  RunInOrder<std::string>(
      logs.size(), jobs,
      [&](std::size_t index) {
        std::string rows;
        const CheckedLog& log = logs[index];
        if (!log.checkIndex) return rows;
        const std::string own = CsvField(log.log.callSign) + ",";
        for (std::size_t i = 0; i < check.QsoCount(*log.checkIndex); ++i) {
          const CheckedQso qso = check.Qso(*log.checkIndex, i);
          rows += own;
          rows += std::to_string(qso.position);
          rows += ',';
          rows += CsvField(qso.call);
          rows += ',';
          rows += CsvField(qso.band);
          rows += ',';
          rows += TimeText(qso.minute);
          rows += ',';
          rows += VerdictName(qso.verdict);
          rows += ',';
          rows += CsvField(qso.detail);
          rows += '\n';
        }
        return rows;
      },
      [&](std::size_t, std::string&& rows) { csv += rows; });
  return csv;
}

}  // namespace zeltra::score
