#include "tools/score/ResultsOutput.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <string_view>

#include "core/scoring/StatisticTable.h"
#include "core/text/Utf8.h"
#include "tools/score/TextColumns.h"

namespace zeltra::score {
namespace {

// Keys in the order they are written, as the README shows them.
using Json = nlohmann::ordered_json;

const std::vector<std::string> kResultHeadings = {
    "Rank",  "Call",    "Categories", "QSOs", "Points", "Multipliers",
    "Score", "Claimed", "Difference", "File", "Status"};
// The columns read left to right: call, categories, file and status.
const std::vector<bool> kLeftAligned = {false, true,  true,  false, false, false,
                                        false, false, false, true,  true};
// The columns the CSV and JSON rows share with the text ones, before the file.
constexpr std::size_t kSharedColumns = 9;

std::string OptionalNumber(const std::optional<long long>& number) {
  return number ? std::to_string(*number) : std::string();
}

std::vector<std::string> ResultFields(const std::string& rank, const LogResult& log) {
  const bool scored = !log.failed();
  return {rank,
          Printable(log.callSign),
          Printable(log.categories),
          scored ? std::to_string(log.score->qsos) : "",
          scored ? std::to_string(log.score->points) : "",
          scored ? std::to_string(log.score->multipliers()) : "",
          scored ? std::to_string(log.score->score()) : "",
          Printable(log.claimed.value_or("")),
          OptionalNumber(log.Difference()),
          Printable(log.file),
          Printable(log.Status())};
}

// Ranks 1, 2, ... for the scored logs; none for those that failed.
std::vector<std::string> RankTexts(const std::vector<const LogResult*>& ranked) {
  std::vector<std::string> ranks;
  for (std::size_t i = 0; i < ranked.size(); ++i)
    ranks.push_back(ranked[i]->failed() ? "" : std::to_string(i + 1));
  return ranks;
}

std::string PointsText(const ContactRow& row) {
  if (!row.leftOut.empty()) return "left out: " + row.leftOut;
  if (row.duplicate) return "DUPE";
  return std::to_string(row.points.value_or(0));
}

Json Text(std::string_view text) {
  return AsUtf8(text);
}

template <class Number>
Json NumberOrNull(const std::optional<Number>& number) {
  return number ? Json(*number) : Json(nullptr);
}

Json TableJson(const StatisticTable& table) {
  Json rows = Json::array();
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row) {
    Json cells = Json::array();
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column)
      cells.push_back(Text(table.Cell(column, row)));
    rows.push_back(std::move(cells));
  }
  return rows;
}

Json ContactJson(const ContactRow& row) {
  return {{"position", row.position},
          {"call", Text(row.call)},
          {"band", Text(row.band)},
          {"mode", Text(row.mode)},
          {"continent", Text(row.continent)},
          {"dxcc", Text(row.dxcc)},
          {"points", NumberOrNull(row.points)},
          {"duplicate", row.duplicate},
          {"multipliers", Text(row.multipliers)},
          {"leftOut", row.leftOut.empty() ? Json(nullptr) : Text(row.leftOut)}};
}

}  // namespace

std::string SingleLogText(const LogResult& log, bool contacts) {
  std::string text;
  if (contacts) {
    for (const ContactRow& row : log.contacts) {
      text += log.positionWord + " " + std::to_string(row.position) + "  " + Printable(row.call) +
              "  " + Printable(row.band) + "  " + Printable(row.continent) + "  " +
              Printable(row.dxcc) + "  " + Printable(PointsText(row));
      if (!row.multipliers.empty()) text += "  " + row.multipliers;
      text += "\n";
    }
  }
  text += StatisticTableText(log.score->summary.table) + log.score->summary.scoreLine + "\n";
  if (log.claimed) {
    text += "Claimed score: " + Printable(*log.claimed);
    if (const auto difference = log.Difference())
      text += " (difference " + std::to_string(*difference) + ")";
    else
      text += " (not a number)";
    text += "\n";
  }
  return text;
}

std::string ResultsText(const std::vector<LogResult>& logs) {
  const auto ranked = Ranked(logs);
  const auto ranks = RankTexts(ranked);
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < ranked.size(); ++i)
    rows.push_back(ResultFields(ranks[i], *ranked[i]));
  return AlignedColumns(kResultHeadings, rows, kLeftAligned);
}

std::string ResultsCsv(const std::vector<LogResult>& logs) {
  std::string csv =
      "Rank,Call,Categories,QSOs,Points,Multipliers,Score,Claimed,Difference,Skipped,Left out,"
      "Status,Note,File\n";
  const auto ranked = Ranked(logs);
  const auto ranks = RankTexts(ranked);
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const LogResult& log = *ranked[i];
    const auto fields = ResultFields(ranks[i], log);
    for (std::size_t column = 0; column < kSharedColumns; ++column)
      csv += (column > 0 ? "," : "") + CsvField(fields[column]);
    csv += "," + std::to_string(log.skipped) + "," + std::to_string(log.leftOut) + "," +
           CsvField(log.Status()) + "," + CsvField(log.note) + "," + CsvField(log.file) + "\n";
  }
  return csv;
}

std::string ContactsCsv(const std::vector<LogResult>& logs) {
  std::string csv =
      "File,Position,Call,Band,Mode,Continent,DXCC,Points,Duplicate,Multipliers,Left out\n";
  for (const LogResult* log : Ranked(logs))
    for (const ContactRow& row : log->contacts)
      csv += CsvField(log->file) + "," + std::to_string(row.position) + "," + CsvField(row.call) +
             "," + CsvField(row.band) + "," + CsvField(row.mode) + "," + CsvField(row.continent) +
             "," + CsvField(row.dxcc) + "," + (row.points ? std::to_string(*row.points) : "") +
             "," + (row.duplicate ? "yes" : "no") + "," + CsvField(row.multipliers) + "," +
             CsvField(row.leftOut) + "\n";
  return csv;
}

std::string ResultsJson(const std::vector<LogResult>& logs, const std::vector<NotScored>& notScored,
                        bool contacts) {
  Json document = {{"logs", Json::array()}, {"notScored", Json::array()}};
  const auto ranked = Ranked(logs);
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const LogResult& log = *ranked[i];
    // A failed log's numbers, table and score line are null; filled in
    // place below when it has them, so the keys keep their order.
    Json entry = {{"rank", nullptr},
                  {"call", Text(log.callSign)},
                  {"categories", Text(log.categories)},
                  {"qsos", nullptr},
                  {"points", nullptr},
                  {"multipliers", nullptr},
                  {"score", nullptr},
                  {"claimed", NumberOrNull(log.claimedNumber)},
                  {"difference", NumberOrNull(log.Difference())},
                  {"skipped", log.skipped},
                  {"leftOut", log.leftOut},
                  {"status", Text(log.Status())},
                  {"note", Text(log.note)},
                  {"file", Text(log.file)},
                  {"table", nullptr},
                  {"scoreLine", nullptr}};
    if (!log.failed()) {
      const LogScore& score = *log.score;
      entry["rank"] = i + 1;
      entry["qsos"] = score.qsos;
      entry["points"] = score.points;
      entry["multipliers"] = score.multipliers();
      entry["score"] = score.score();
      entry["table"] = TableJson(score.summary.table);
      entry["scoreLine"] = Text(score.summary.scoreLine);
    }
    if (contacts) {
      Json rows = Json::array();
      for (const ContactRow& row : log.contacts) rows.push_back(ContactJson(row));
      entry["contacts"] = std::move(rows);
    }
    document["logs"].push_back(std::move(entry));
  }
  for (const NotScored& file : notScored)
    document["notScored"].push_back({{"file", Text(file.file)}, {"reason", Text(file.reason)}});
  return document.dump(2, ' ', false) + "\n";
}

}  // namespace zeltra::score
