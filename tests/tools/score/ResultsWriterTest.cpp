#include "tools/score/ResultsWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scoring/BandStatistics.h"

namespace zeltra::score {
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
    ScoreOptions options;
    options.format = c.format;
    options.contacts = c.contacts;
    const std::string written = ResultsWriterFor(options)->Write(c.logs, notScored, c.single);
    SCOPED_TRACE(written);
    EXPECT_EQ(written.substr(0, written.find('\n')), c.firstLine);
  }
  ScoreOptions json;
  json.format = Format::kJson;
  EXPECT_NE(ResultsWriterFor(json)->Write({Scored("SP1AAA")}, notScored, false).find("notes.txt"),
            std::string::npos);
}

}  // namespace
}  // namespace zeltra::score
