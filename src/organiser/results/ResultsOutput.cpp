#include "organiser/results/ResultsOutput.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/scoring/StatisticTable.h"
#include "core/text/Utf8.h"
#include "organiser/results/JsonLogs.h"
#include "organiser/results/TextColumns.h"
#include "organiser/scoring/Places.h"

namespace zeltra::organiser {
namespace {

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
  const bool scored = !log.Failed();
  return {rank,
          Printable(log.callSign),
          Printable(log.categories),
          scored ? std::to_string(log.score->qsos) : "",
          scored ? std::to_string(log.score->points) : "",
          scored ? std::to_string(log.score->Multipliers()) : "",
          scored ? std::to_string(log.score->Score()) : "",
          Printable(log.claimed.value_or("")),
          OptionalNumber(log.Difference()),
          Printable(log.file),
          Printable(log.Status())};
}

// Places 1, 2, 2, 4 ... for the scored logs, equal scores sharing one;
// none for those that failed.
std::vector<std::string> RankTexts(const std::vector<const LogResult*>& ranked) {
  std::vector<std::string> ranks;
  Places places;
  for (const LogResult* log : ranked)
    ranks.push_back(log->Failed() ? "" : std::to_string(places.Next(log->score->Score())));
  return ranks;
}

std::string PointsText(const ContactRow& row) {
  if (!row.leftOut.empty()) return "left out: " + row.leftOut;
  if (row.duplicate) return "DUPE";
  return std::to_string(row.points.value_or(0));
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
      cells.push_back(JsonText(table.Cell(column, row)));
    rows.push_back(std::move(cells));
  }
  return rows;
}

}  // namespace

std::string ContactTextLine(const LogResult& log, const ContactRow& row) {
  std::string line = log.positionWord + " " + std::to_string(row.position) + "  " +
                     Printable(row.call) + "  " + Printable(row.band) + "  " +
                     Printable(row.continent) + "  " + Printable(row.dxcc) + "  " +
                     Printable(PointsText(row));
  if (!row.multipliers.empty()) line += "  " + row.multipliers;
  return line + "\n";
}

std::string ContactCsvLine(const LogResult& log, const ContactRow& row) {
  return CsvLine({log.file, std::to_string(row.position), row.call, row.band, row.mode,
                  row.continent, row.dxcc, row.points ? std::to_string(*row.points) : "",
                  row.duplicate ? "yes" : "no", row.multipliers, row.leftOut});
}

std::string ContactJson(const ContactRow& row) {
  return JsonAt({{"position", row.position},
                 {"call", JsonText(row.call)},
                 {"band", JsonText(row.band)},
                 {"mode", JsonText(row.mode)},
                 {"continent", JsonText(row.continent)},
                 {"dxcc", JsonText(row.dxcc)},
                 {"points", NumberOrNull(row.points)},
                 {"duplicate", row.duplicate},
                 {"multipliers", JsonText(row.multipliers)},
                 {"leftOut", row.leftOut.empty() ? Json(nullptr) : JsonText(row.leftOut)}},
                JsonLogs::kRowDepth);
}

void WriteSingleLogText(std::ostream& out, const LogResult& log, const RowSpool& rows) {
  rows.CopyRows(log.order, out);
  out << StatisticTableText(log.score->summary.table) << log.score->summary.scoreLine << "\n";
  if (log.claimed) {
    out << "Claimed score: " << Printable(*log.claimed);
    if (const auto difference = log.Difference())
      out << " (difference " << *difference << ")";
    else
      out << " (not a number)";
    out << "\n";
  }
}

void WriteResultsText(std::ostream& out, const std::vector<LogResult>& logs) {
  const auto ranked = Ranked(logs);
  const auto ranks = RankTexts(ranked);
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < ranked.size(); ++i)
    rows.push_back(ResultFields(ranks[i], *ranked[i]));
  WriteAlignedColumns(out, kResultHeadings, rows, kLeftAligned);
}

void WriteResultsCsv(std::ostream& out, const std::vector<LogResult>& logs) {
  out << "Rank,Call,Categories,QSOs,Points,Multipliers,Score,Claimed,Difference,Skipped,Left out,"
         "Status,Note,File\n";
  const auto ranked = Ranked(logs);
  const auto ranks = RankTexts(ranked);
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const LogResult& log = *ranked[i];
    std::vector<std::string> fields = ResultFields(ranks[i], log);
    fields.resize(kSharedColumns);
    fields.insert(fields.end(), {std::to_string(log.skipped), std::to_string(log.leftOut),
                                 log.Status(), log.note, log.file});
    out << CsvLine(fields);
  }
}

void WriteContactsCsv(std::ostream& out, const std::vector<LogResult>& logs, const RowSpool& rows) {
  out << "File,Position,Call,Band,Mode,Continent,DXCC,Points,Duplicate,Multipliers,Left out\n";
  for (const LogResult* log : Ranked(logs))
    if (!log->Failed()) rows.CopyRows(log->order, out);
}

void WriteResultsJson(std::ostream& out, const std::vector<LogResult>& logs,
                      const std::vector<NotScored>& notScored, const RowSpool* rows) {
  JsonLogs document(out);
  const auto ranked = Ranked(logs);
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const LogResult& log = *ranked[i];
    // A failed log's numbers, table and score line are null; filled in
    // place below when it has them, so the keys keep their order.
    Json entry = {{"rank", nullptr},
                  {"call", JsonText(log.callSign)},
                  {"categories", JsonText(log.categories)},
                  {"qsos", nullptr},
                  {"points", nullptr},
                  {"multipliers", nullptr},
                  {"score", nullptr},
                  {"claimed", NumberOrNull(log.claimedNumber)},
                  {"difference", NumberOrNull(log.Difference())},
                  {"skipped", log.skipped},
                  {"leftOut", log.leftOut},
                  {"status", JsonText(log.Status())},
                  {"note", JsonText(log.note)},
                  {"file", JsonText(log.file)},
                  {"table", nullptr},
                  {"scoreLine", nullptr}};
    if (!log.Failed()) {
      const LogScore& score = *log.score;
      entry["rank"] = i + 1;
      entry["qsos"] = score.qsos;
      entry["points"] = score.points;
      entry["multipliers"] = score.Multipliers();
      entry["score"] = score.Score();
      entry["table"] = TableJson(score.summary.table);
      entry["scoreLine"] = JsonText(score.summary.scoreLine);
    }
    if (!rows) {
      document.Log(entry);
      continue;
    }
    const bool listed = !log.Failed() && rows->HasRows(log.order);
    document.Log(entry, "contacts", listed,
                 [&](std::ostream& to) { rows->CopyRows(log.order, to); });
  }
  document.Finish(notScored);
}

}  // namespace zeltra::organiser
