#include "organiser/results/ResultsWriter.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/scoring/BandStatistics.h"

namespace zeltra::organiser {
namespace {

LogResult Scored(const std::string& call) {
  LogResult log;
  log.file = call + ".log";
  log.callSign = call;
  BandStatistics statistics;
  BandStatistic& band = statistics.FindOrAdd("14");
  band.qsos = 1;
  band.points = 5;
  log.score = ScoreOf(statistics);
  return log;
}

LogResult Failed(const std::string& call) {
  LogResult log;
  log.file = call + ".log";
  log.failure = "cannot read the file";
  return log;
}

std::string Written(const OutputSettings& options, const std::vector<LogResult>& logs,
                    const std::vector<NotScored>& notScored, bool single) {
  std::ostringstream out;
  ResultsWriterFor(options)->Write(out, logs, notScored, single, RowSpool());
  return out.str();
}

// What each format writes for one log or several, the one writer chosen
// once from the options: the first line says which writing it is.
TEST(ResultsWriter, EachFormatWritesItsOwnWay) {
  const std::vector<NotScored> notScored = {{"notes.txt", "not a log"}};
  struct Case {
    Format format;
    bool contacts;
    bool single;
    std::vector<LogResult> logs;
    std::string firstLine;  // empty: nothing written
  };
  const Case cases[] = {
      {Format::kText,
       false,
       true,
       {Scored("SP1AAA")},
       "Band   QSOs  Points  Voivodeship  DXCC  Continent"},
      {Format::kText, false, true, {Failed("SP1AAA")}, ""},
      {Format::kText, false, true, {}, ""},
      {Format::kText,
       false,
       false,
       {Scored("SP1AAA"), Failed("SP2BBB")},
       "Rank  Call    Categories  QSOs  Points  Multipliers  Score  Claimed  Difference  File      "
       "  Status"},
      {Format::kCsv,
       false,
       true,
       {Scored("SP1AAA")},
       "Rank,Call,Categories,QSOs,Points,Multipliers,Score,Claimed,Difference,Skipped,Left "
       "out,Status,Note,File"},
      {Format::kCsv,
       true,
       false,
       {Scored("SP1AAA")},
       "File,Position,Call,Band,Mode,Continent,DXCC,Points,Duplicate,Multipliers,Left out"},
      {Format::kJson, false, true, {Scored("SP1AAA")}, "{"},
  };
  for (const Case& c : cases) {
    OutputSettings options;
    options.format = c.format;
    options.contacts = c.contacts;
    const std::string written = Written(options, c.logs, notScored, c.single);
    SCOPED_TRACE(written);
    EXPECT_EQ(written.substr(0, written.find('\n')), c.firstLine);
  }
  // Two logs of one score share the first place; the failed one has none.
  OutputSettings csv;
  csv.format = Format::kCsv;
  const std::string tied =
      Written(csv, {Scored("SP2BBB"), Failed("SP3CCC"), Scored("SP1AAA")}, {}, false);
  EXPECT_NE(tied.find("\n1,SP1AAA,"), std::string::npos) << tied;
  EXPECT_NE(tied.find("\n1,SP2BBB,"), std::string::npos) << tied;
  EXPECT_NE(tied.find("\n,,,"), std::string::npos) << tied;
  OutputSettings json;
  json.format = Format::kJson;
  EXPECT_NE(Written(json, {Scored("SP1AAA")}, notScored, false).find("notes.txt"),
            std::string::npos);
}

// JSON written log by log, each log's contacts copied from the spool in
// pieces, reads as the document nlohmann writes whole; the logs ranked,
// each with its own contacts, a failed log with none.
TEST(ResultsWriter, JsonWrittenLogByLogIsTheWholeDocument) {
  OutputSettings options;
  options.format = Format::kJson;
  options.contacts = true;
  const auto writer = ResultsWriterFor(options);
  std::vector<LogResult> logs = {Scored("SP3CCC"), Failed("SP2BBB"), Scored("SP1AAA"),
                                 Scored("SP4DDD")};
  // Enough rows for the spool to store them in several pieces.
  const std::size_t counts[] = {1, 2, 3000, 0};
  RowSpool spool;
  for (std::size_t log = 0; log < logs.size(); ++log) {
    logs[log].order = log;
    RowSpool::Rows rows(spool, log);
    for (std::size_t i = 0; i < counts[log]; ++i)
      writer->AddContact(logs[log],
                         {.position = i + 1,
                          .call = "SP" + std::to_string(log) + "X\"Y",
                          .band = "14",
                          .mode = "RTTY",
                          .continent = "EU",
                          .dxcc = "SP",
                          .points = 1,
                          .duplicate = false,
                          .multipliers = "14 SP",
                          .leftOut = {}},
                         rows);
    rows.Finish();
  }
  std::ostringstream out;
  writer->Write(out, logs, {{"a\"b.txt", "not a log"}}, false, spool);
  const nlohmann::ordered_json document = nlohmann::ordered_json::parse(out.str());
  EXPECT_EQ(document.dump(2, ' ', false) + "\n", out.str());
  const auto& written = document["logs"];
  ASSERT_EQ(written.size(), 4u);
  const std::pair<const char*, std::size_t> expected[] = {
      {"SP1AAA", 3000}, {"SP3CCC", 1}, {"SP4DDD", 0}, {"", 0}};
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(written[i]["call"], expected[i].first);
    EXPECT_EQ(written[i]["contacts"].size(), expected[i].second);
  }
  EXPECT_EQ(written[0]["contacts"][2999]["position"], 3000);
  EXPECT_EQ(written[0]["contacts"][2999]["call"], "SP2X\"Y");
  EXPECT_EQ(written[1]["contacts"][0]["call"], "SP0X\"Y");
  EXPECT_EQ(document["notScored"][0]["file"], "a\"b.txt");
}

}  // namespace
}  // namespace zeltra::organiser
