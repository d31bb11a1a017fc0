#include "tools/score/ScoreRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/logscore/LogReading.h"
#include "support/FileText.h"
#include "support/SqliteLog.h"
#include "tools/score/ExitStatus.h"

namespace zeltra::score {
namespace {

using testing::LogRow;
using testing::SqliteLog;
using testing::TemporaryFolder;

const char kCountries[] =
    "Poland:                   15:  28:  EU:   52.28:   -18.67:    -1.0:  SP:\n"
    "    3Z,HF,SN,SO,SP,SQ,SR;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    AA,K,N,W;\n"
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    JA,JE,JF,JG,JH,JI,JJ,JK,JL,JM,JN,JO,JP,JQ,JR,JS;\n";

// Worked by hand for SP5XYZ (SP, EU), replayed by call sign: DL1ABC 14 5
// points (DXCC DL, continent EU); JA1XX 28 10 (JA, AS); SN7XYZ 7 2
// (voivodeship B, DXCC SP); SP9ABC 14 2 (K, SP); SP9ABC again a duplicate;
// W1AW 21 10 (K, NA). Points 29, multipliers 2 + 5 + 3.
const char kAdif[] =
    "Hand-worked test log <ADIF_VER:5>3.1.4 <EOH>\n"
    "<CALL:6>SP9ABC<BAND:3>20m<MODE:4>RTTY<SRX_STRING:5>599 K<STATION_CALLSIGN:6>SP5XYZ<EOR>\n"
    "<call:4>W1AW <band:3>15M <mode:4>RTTY <rst_rcvd:3>599 <state:2>CT <eor>\n"
    "<CALL:6>DL1ABC<FREQ:6>14.080<MODE:4>RTTY<RST_RCVD:3>599<EOR>\n"
    "<CALL:6>SP9ABC<BAND:3>20m<MODE:4>RTTY<SRX_STRING:5>599 M<EOR>\n"
    "<CALL:6>SN7XYZ<BAND:3>40m<MODE:4>RTTY<RST_RCVD:3>599<STATE:1>B<EOR>\n"
    "<CALL:5>JA1XX<BAND:3>10m<MODE:4>RTTY<RST_RCVD:3>599<EOR>\n";

const char kCabrillo[] =
    "START-OF-LOG: 3.0\n"
    "CALLSIGN: SP5XYZ\n"
    "CATEGORY-OPERATOR: SINGLE-OP\n"
    "CATEGORY-BAND: ALL\n"
    "CLAIMED-SCORE: 300\n"
    "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n"
    "QSO: 21080 RY 2026-12-06 1201 SP5XYZ 599 002 W1AW 599 CT\n"
    "QSO: 14080 RY 2026-12-06 1202 SP5XYZ 599 003 DL1ABC 599 001\n"
    "QSO: 14080 RY 2026-12-06 1203 SP5XYZ 599 004 SP9ABC 599 M\n"
    "QSO: 7040 RY 2026-12-06 1204 SP5XYZ 599 005 SN7XYZ 599 B\n"
    "QSO: 28080 RY 2026-12-06 1205 SP5XYZ 599 006 JA1XX 599 002\n"
    "END-OF-LOG:\n";

const char kTable[] =
    "Band   QSOs  Points  Voivodeship  DXCC  Continent\n"
    "160\n"
    "80\n"
    "40        1       2            1     1          0\n"
    "20        2       7            1     2          1\n"
    "15        1      10            0     1          1\n"
    "10        1      10            0     1          1\n"
    "Total     5      29            2     5          3\n";
const char kScoreLine[] = "Score: 29*(2+5+3)=290\n";

class ScoreRunTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    const auto path = folder.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--cty", Write("cty.dat", kCountries)});
    out.str("");
    errors.str("");
    return RunScore(ParseScoreOptions(arguments), out, errors, false);
  }

  TemporaryFolder folder;
  std::ostringstream out;
  std::ostringstream errors;
};

// A log of megabytes, scored by two jobs (its two halves read at once) and
// by one: the same score, contacts and problems, record numbers and all.
TEST_F(ScoreRunTest, ALargeLogReadInTwoPartsScoresAsReadWhole) {
  std::string text = kAdif;
  const std::string calls[] = {"SP9ABC", "DL1ABC", "W1AW", "JA1XX", "SN7XYZ", "SQ2KK"};
  for (std::size_t i = 0; text.size() < (std::size_t{5} << 20); ++i) {
    const std::string call = calls[i % 6] + std::to_string(i % 97);
    text += "<CALL:" + std::to_string(call.size()) + ">" + call + "<BAND:3>" +
            (i % 5 == 0 ? "40m" : "20m") + "<MODE:4>" + (i % 11 == 0 ? "CW  " : "RTTY") +
            "<RST_RCVD:3>599<STATE:1>" + std::string(1, static_cast<char>('A' + i % 16)) +
            (i % 1000 == 7 ? "<STATION_CALLSIGN:6>SP5ABC" : "") + "<NOTES:12>no <eor> here<EOR>\n";
    if (i % 50000 == 3) text += "<CALL:6>SP1AAA<BAND:3>99m<EOR>\n";
  }
  const std::string log = Write("large.adi", text);
  for (const char* listed : {"--quiet", "--contacts"}) {
    const int status = Run({"--jobs", "1", listed, log});
    const std::string answer = out.str();
    const std::string told = errors.str();
    EXPECT_EQ(Run({"--jobs", "2", listed, log}), status);
    EXPECT_EQ(out.str(), answer) << listed;
    EXPECT_EQ(errors.str(), told) << listed;
  }
  EXPECT_NE(errors.str().find("own call SP5ABC is not SP5XYZ"), std::string::npos) << errors.str();
}

TEST_F(ScoreRunTest, HandWorkedAdifLog) {
  EXPECT_EQ(Run({"--contacts", Write("log.adi", kAdif)}), kExitScored);
  EXPECT_EQ(out.str(),
            "record 3  DL1ABC  14  EU  DL  5  dxcc continent\n"
            "record 6  JA1XX  28  AS  JA  10  dxcc continent\n"
            "record 5  SN7XYZ  7  EU  SP  2  voivodeship dxcc\n"
            "record 1  SP9ABC  14  EU  SP  2  voivodeship dxcc\n"
            "record 4  SP9ABC  14  EU  SP  DUPE\n"
            "record 2  W1AW  21  NA  K  10  dxcc continent\n" +
                std::string(kTable) + kScoreLine);
  EXPECT_EQ(errors.str(), "");
}

TEST_F(ScoreRunTest, HandWorkedCabrilloLogWithItsClaim) {
  const std::string file = Write("log.cbr", kCabrillo);
  EXPECT_EQ(Run({file}), kExitScored);
  EXPECT_EQ(out.str(), std::string(kTable) + kScoreLine + "Claimed score: 300 (difference 10)\n");
  EXPECT_EQ(Run({"--check-claimed", file}), kExitClaimedDiffers);
}

// The same contacts as ADIF, as Cabrillo and as a log table read through
// ODBC give the same score line.
TEST_F(ScoreRunTest, AdifCabrilloAndOdbcAgree) {
  std::vector<std::string> lines;
  Run({Write("log.adi", kAdif)});
  lines.push_back(out.str().substr(out.str().find("Score:")));
  Run({Write("log.cbr", kCabrillo)});
  lines.push_back(out.str().substr(out.str().find("Score:"), std::string(kScoreLine).size()));

  SqliteLog log;
  log.CreateLogTable();
  log.Insert(
      {{.callSign = "SP9ABC", .band = "14", .report = "599 K", .dxccPrefix = "SP"},
       {.callSign = "W1AW", .band = "21", .continent = "NA", .report = "599 CT", .dxccPrefix = "K"},
       {.callSign = "DL1ABC", .band = "14", .report = "599", .dxccPrefix = "DL"},
       {.callSign = "SP9ABC", .band = "14", .report = "599 M", .dxccPrefix = "SP"},
       {.callSign = "SN7XYZ", .band = "7", .report = "599 B", .dxccPrefix = "SP"},
       {.callSign = "JA1XX",
        .band = "28",
        .continent = "AS",
        .report = "599",
        .dxccPrefix = "JA"}});
  EXPECT_EQ(Run({"--odbc", "DRIVER=SQLite3;Database=" + log.file().string(), "--table", "QSO",
                 "--my-call", "SP5XYZ"}),
            kExitScored);
  EXPECT_EQ(out.str(), std::string(kTable) + kScoreLine);
  lines.push_back(out.str().substr(out.str().find("Score:")));
  EXPECT_EQ(lines, std::vector<std::string>(3, kScoreLine));
}

TEST_F(ScoreRunTest, BadRecordsAreNamedSkippedOrStopTheRun) {
  const std::string adif = Write("bad.adi",
                                 "<CALL:4>W1AW<BAND:3>15m<MODE:4>RTTY<EOR>\n"
                                 "<CALL:x>W2AW<BAND:3>15m<EOR>\n"
                                 "<BAND:3>15m<MODE:4>RTTY<EOR>\n"
                                 "<CALL:4>W3AW<BAND:3>19m<EOR>\n"
                                 "<CALL:4>W4AW<BAND:3>20m<FREQ:6>21.080<MODE:4>RTTY<EOR>\n"
                                 "<CALL:4>W5AW<FREQ:3>abc<EOR>\n"
                                 "<CALL:4>W6AW<EOR>\n"
                                 "<CALL:4>W7AW<BAND:3>20m<FREQ:3>abc<EOR>\n");
  EXPECT_EQ(Run({"--my-call", "SP5XYZ", adif}), kExitRecordsSkipped);
  EXPECT_EQ(errors.str(),
            adif + ": record 5: field BAND \"20m\" disagrees with FREQ 21.080; BAND counts\n" +
                adif + ": record 8: field FREQ: \"abc\" is not a frequency; BAND counts\n" + adif +
                ": record 2: field CALL: length \"x\" is not a number; skipped\n" + adif +
                ": record 3: no CALL; skipped\n" + adif +
                ": record 4: field BAND: unknown band \"19m\"; skipped\n" + adif +
                ": record 6: field FREQ: \"abc\" is not a frequency; skipped\n" + adif +
                ": record 7: no BAND or FREQ; skipped\n"
                "Warnings: 1 (BAND and FREQ disagree), 1 (FREQ not a frequency), 5 (records "
                "skipped)\n");
  EXPECT_NE(out.str().find("Score: 30*(0+2+1)=90"), std::string::npos) << out.str();

  // Strict: it stops there, and no score is printed.
  EXPECT_EQ(Run({"--strict", "--my-call", "SP5XYZ", adif}), kExitRecordsSkipped);
  EXPECT_EQ(errors.str(),
            adif + ": record 2: field CALL: length \"x\" is not a number; stopped (--strict)\n" +
                adif + ": stopped at record 2 (--strict)\nWarnings: 1 (records skipped)\n");
  EXPECT_EQ(out.str(), "");

  // Quiet: counted, not listed.
  EXPECT_EQ(Run({"--quiet", "--my-call", "SP5XYZ", adif}), kExitRecordsSkipped);
  EXPECT_EQ(errors.str(),
            "Warnings: 1 (BAND and FREQ disagree), 1 (FREQ not a frequency), 5 (records "
            "skipped) (--quiet: not listed)\n");

  const std::string cabrillo = Write("bad.log",
                                     "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\n"
                                     "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 SP9ABC\n"
                                     "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n");
  EXPECT_EQ(Run({cabrillo}), kExitRecordsSkipped);
  EXPECT_EQ(errors.str(), cabrillo +
                              ": line 3: QSO line has 7 fields, fewer than 8; skipped\n"
                              "Warnings: 1 (lines skipped)\n");
  // Strict: nothing after the first bad line counts.
  EXPECT_EQ(Run({"--strict", cabrillo}), kExitRecordsSkipped);
  EXPECT_EQ(errors.str().substr(0, errors.str().find('\n')),
            cabrillo + ": line 3: QSO line has 7 fields, fewer than 8; stopped (--strict)");
  EXPECT_EQ(out.str(), "");

  EXPECT_EQ(Run({(folder.path() / "missing.adi").string()}), kExitUnreadable);
  EXPECT_EQ(errors.str(), (folder.path() / "missing.adi").string() +
                              ": cannot read the file: it does not exist\n");

  EXPECT_EQ(Run({Write("nobody.adi", "<CALL:4>W1AW<BAND:3>15m<EOR>")}), kExitUnreadable);
  EXPECT_NE(errors.str().find("the log names no own station"), std::string::npos);
  EXPECT_EQ(Run({Write("stranger.adi", "<CALL:4>W1AW<BAND:3>15m<OPERATOR:5>ZZ1ZZ<EOR>")}),
            kExitUnreadable);
  EXPECT_NE(errors.str().find("the country file does not know the own call ZZ1ZZ: give "
                              "--my-continent and --my-dxcc"),
            std::string::npos)
      << errors.str();

  EXPECT_EQ(Run({"--odbc", "DRIVER=NoSuchSQLiteDriver", "--table", "QSO", "--my-call", "SP5XYZ"}),
            kExitUnreadable);
  EXPECT_NE(errors.str().find("zeltra-score: ["), std::string::npos) << errors.str();
}

TEST_F(ScoreRunTest, TheOrganisersBatchIsRanked) {
  std::filesystem::create_directories(folder.path() / "logs");
  Write("logs/a.cbr", kCabrillo);
  Write("logs/b.log",
        "START-OF-LOG: 3.0\nCALLSIGN: SP1AAA\nCATEGORY-OPERATOR: MULTI-OP\nCLAIMED-SCORE: 20\n"
        "QSO: 21080 RY 2026-12-06 1201 SP1AAA 599 002 W1AW 599 CT\n");
  Write("logs/c.adi",
        "<STATION_CALLSIGN:6>DL9ZZZ<CALL:4>W1AW<BAND:3>15m<MODE:4>RTTY<EOR>"
        "<CALL:5>JA1XX<BAND:3>15m<MODE:4>RTTY<EOR>");
  const std::string logs = (folder.path() / "logs").string();
  EXPECT_EQ(Run({(folder.path() / "logs").string()}), kExitScored);
  EXPECT_EQ(
      out.str(),
      "Rank  Call    Categories     QSOs  Points  Multipliers  Score  Claimed  Difference  "
      "File" +
          std::string(logs.size() + 4, ' ') +
          "Status\n"
          "   1  SP5XYZ  SINGLE-OP ALL     5      29           10    290      300          10  " +
          logs + "/a.cbr  ok\n" +
          "   2  DL9ZZZ                    2      20            4     80                       " +
          logs + "/c.adi  ok\n" +
          "   3  SP1AAA  MULTI-OP          1      10            2     20       20           0  " +
          logs + "/b.log  ok\n");
  // One reader or several: the same answer and the same problems told.
  const std::string answer = out.str();
  const std::string told = errors.str();
  for (const char* jobs : {"1", "3"}) {
    EXPECT_EQ(Run({"--jobs", jobs, logs}), kExitScored);
    EXPECT_EQ(out.str(), answer) << jobs;
    EXPECT_EQ(errors.str(), told) << jobs;
  }
  // A terminal sees each log's progress, and the line is cleared at the end.
  std::ostringstream terminal;
  RunScore(ParseScoreOptions({"--cty", (folder.path() / "cty.dat").string(), logs}), out, terminal,
           true);
  EXPECT_NE(terminal.str().find("\rScoring 2 of 3: b.log"), std::string::npos) << terminal.str();
  EXPECT_EQ(terminal.str().substr(terminal.str().size() - 4), "\r\x1b[K");
  Run({"--format", "csv", logs});
  EXPECT_EQ(out.str().substr(0, out.str().find('\n')),
            "Rank,Call,Categories,QSOs,Points,Multipliers,Score,Claimed,Difference,Skipped,Left "
            "out,Status,Note,File");
  Run({"--format", "json", logs});
  EXPECT_NE(out.str().find("\"rank\": 1,\n      \"call\": \"SP5XYZ\""), std::string::npos)
      << out.str();
}

// The site follows the logs from run to run: an entrant no longer in the
// results loses the page; a link planted for a page is replaced, never
// written through; the site's own folder inside the logs' is no log; a run
// that ranks nothing leaves the site as it was.
TEST_F(ScoreRunTest, TheSiteFollowsTheLogsFromRunToRun) {
  namespace fs = std::filesystem;
  const fs::path logs = folder.path() / "logs";
  const fs::path site = logs / "site";
  fs::create_directories(logs);
  Write("logs/a.cbr", kCabrillo);
  Write("logs/b.log",
        "START-OF-LOG: 3.0\nCALLSIGN: SP1AAA\nCATEGORY-OPERATOR: MULTI-OP\n"
        "QSO: 21080 RY 2026-12-06 1201 SP1AAA 599 002 W1AW 599 CT\n");
  const std::vector<std::string> arguments = {"--site", site.string(), logs.string()};
  ASSERT_EQ(Run(arguments), kExitScored) << errors.str();
  EXPECT_TRUE(fs::exists(site / "entrants" / "SP1AAA.html"));
  const std::string index = testing::FileText(site / "index.html");
  EXPECT_NE(index.find("<p>2 files received, 2 logs scored.</p>"), std::string::npos) << index;
  EXPECT_EQ(index.find(logs.string()), std::string::npos) << "the organiser's folder shown";
  const std::string received = testing::FileText(site / "results" / "RECEIVED.html");
  EXPECT_NE(received.find("<td>a.cbr</td>"), std::string::npos) << received;
  EXPECT_EQ(received.find(logs.string()), std::string::npos) << "the organiser's folder shown";

  const std::string outside = Write("outside.txt", "the organiser's own file\n");
  fs::remove(site / "entrants" / "SP5XYZ.html");
  fs::create_symlink(outside, site / "entrants" / "SP5XYZ.html");
  Write("logs/site/entrants/notes.txt", "kept\n");
  fs::remove(logs / "b.log");
  ASSERT_EQ(Run(arguments), kExitScored) << errors.str();
  EXPECT_EQ(testing::FileText(outside), "the organiser's own file\n");
  EXPECT_FALSE(fs::is_symlink(site / "entrants" / "SP5XYZ.html"));
  EXPECT_FALSE(fs::exists(site / "entrants" / "SP1AAA.html"));
  EXPECT_TRUE(fs::exists(site / "entrants" / "notes.txt"));
  const std::string after = testing::FileText(site / "index.html");
  EXPECT_EQ(after.find("SP1AAA"), std::string::npos);
  EXPECT_EQ(testing::FileText(site / "results" / "RECEIVED.html").find("SP1AAA"),
            std::string::npos);
  EXPECT_NE(after.find("<p>1 file received, 1 log scored.</p>"), std::string::npos) << after;

  fs::remove(logs / "a.cbr");
  EXPECT_EQ(Run(arguments), kExitNotALog);
  EXPECT_EQ(testing::FileText(site / "index.html"), after);
  EXPECT_TRUE(fs::exists(site / "entrants" / "SP5XYZ.html"));
  EXPECT_NE(
      errors.str().find("No log was ranked: the site in " + site.string() + " is left as it was"),
      std::string::npos)
      << errors.str();
}

// An entrant's page shows the first hundred rows of each of the report's
// lists; every line is in the CSV beside it.
TEST_F(ScoreRunTest, LongListsOnAnEntrantsPageAreCut) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.path() / "logs");
  std::string invented = "START-OF-LOG: 3.0\nCALLSIGN: SP9FAK\n";
  constexpr int kQsos = 150;
  for (int i = 0; i < kQsos; ++i)
    invented += "QSO: 14080 RY 2026-12-05 " + std::to_string(1000 + i % 60 + i / 60 * 100) +
                " SP9FAK 599 K DL" + std::to_string(i % 9 + 1) + "A" +
                std::string(1, static_cast<char>('A' + i / 26 % 26)) +
                std::string(1, static_cast<char>('A' + i % 26)) + " 599 001\n";
  Write("logs/sp9fak.log", invented);
  Write("logs/sp1aaa.log",
        "START-OF-LOG: 3.0\nCALLSIGN: SP1AAA\n"
        "QSO: 14080 RY 2026-12-05 1000 SP1AAA 599 K DL1ABC 599 001\n");
  const fs::path site = folder.path() / "site";
  ASSERT_LE(Run({"--cross-check", (folder.path() / "logs").string(), "--site", site.string()}),
            kExitRecordsSkipped)
      << errors.str();
  const std::string page = testing::FileText(site / "entrants" / "SP9FAK.html");
  EXPECT_NE(page.find("<caption>Uniques, kept: 150</caption>"), std::string::npos) << page;
  EXPECT_NE(page.find("<p>And 50 more.</p>"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"SP9FAK.csv\">"), std::string::npos);
  const std::string csv = testing::FileText(site / "entrants" / "SP9FAK.csv");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), kQsos + 1);
  EXPECT_EQ(csv.rfind("log,line,call,band,time,verdict,detail,partner_log,partner_line\n", 0), 0u);
}

// A hostile file's millions of bad records are counted, not kept: the first
// thousand are listed, the rest only counted.
TEST_F(ScoreRunTest, ProblemsPastTheFirstThousandAreCounted) {
  std::string adif = "<STATION_CALLSIGN:6>SP5XYZ<CALL:4>W1AW<BAND:3>15m<EOR>\n";
  for (int i = 0; i < 1500; ++i) adif += "<CALL:4>W1AW<BAND:3>19m<EOR>\n";
  const std::string file = Write("many.adi", adif);
  EXPECT_EQ(Run({file}), kExitRecordsSkipped);
  const std::string text = errors.str();
  std::size_t listed = 0;
  for (std::size_t at = text.find("unknown band"); at != std::string::npos;
       at = text.find("unknown band", at + 1))
    ++listed;
  EXPECT_EQ(listed, zeltra::kKeptProblems);
  EXPECT_NE(text.find(file + ": 500 more problems than are listed"), std::string::npos) << text;
  EXPECT_NE(text.find("1500 (records skipped)"), std::string::npos) << text;
  EXPECT_NE(out.str().find("Score: 10*(0+1+1)=20"), std::string::npos) << out.str();
}

// On a terminal the progress line is cleared before a warning is written,
// so that no warning runs on from it.
TEST_F(ScoreRunTest, ProgressGivesWayToWarnings) {
  std::filesystem::create_directories(folder.path() / "logs");
  Write("logs/a.cbr", kCabrillo);
  const std::string warned =
      Write("logs/b.adi", "<STATION_CALLSIGN:6>SP5XYZ<CALL:4>W1AW<BAND:3>15m<FREQ:1>x<EOR>");
  std::ostringstream terminal;
  RunScore(
      ParseScoreOptions({"--cty", Write("cty.dat", kCountries), (folder.path() / "logs").string()}),
      out, terminal, true);
  EXPECT_NE(terminal.str().find("\rScoring 2 of 2: b.adi\x1b[K\r\x1b[K" + warned + ": record 1"),
            std::string::npos)
      << terminal.str();
}

TEST_F(ScoreRunTest, JsonAndCsvCarryTheSameContent) {
  const std::string file = Write("log.adi", kAdif);
  Run({"--format", "json", "--contacts", file});
  EXPECT_NE(out.str().find("\"scoreLine\": \"Score: 29*(2+5+3)=290\""), std::string::npos);
  EXPECT_NE(out.str().find("\"score\": 290"), std::string::npos);
  EXPECT_NE(out.str().find("\"position\": 4,\n          \"call\": \"SP9ABC\",\n          "
                           "\"band\": \"14\",\n          \"mode\": \"RTTY\",\n          "
                           "\"continent\": \"EU\",\n          \"dxcc\": \"SP\",\n          "
                           "\"points\": null,\n          \"duplicate\": true"),
            std::string::npos)
      << out.str();
  Run({"--format", "csv", file});
  EXPECT_EQ(out.str(),
            "Rank,Call,Categories,QSOs,Points,Multipliers,Score,Claimed,Difference,Skipped,Left "
            "out,Status,Note,File\n1,SP5XYZ,,5,29,10,290,,,0,0,ok,," +
                file + "\n");
  Run({"--format", "csv", "--contacts", file});
  EXPECT_NE(out.str().find(file + ",4,SP9ABC,14,RTTY,EU,SP,,yes,,\n"), std::string::npos)
      << out.str();

  // In log order the same contacts give the same table here.
  Run({"--order", "log", file});
  EXPECT_EQ(out.str(), std::string(kTable) + kScoreLine);
}

// A report that cannot be written (its name taken by a folder) fails the
// run with its own status; the other reports are written all the same.
TEST_F(ScoreRunTest, AReportThatCannotBeWrittenFailsTheRun) {
  std::filesystem::create_directories(folder.path() / "logs");
  Write("logs/sp5xyz.log", kCabrillo);
  Write("logs/sp9abc.log",
        "START-OF-LOG: 3.0\nCALLSIGN: SP9ABC\nCATEGORY-OPERATOR: SINGLE-OP\n"
        "QSO: 14080 RY 2026-12-06 1200 SP9ABC 599 K SP5XYZ 599 001\nEND-OF-LOG:\n");
  const std::filesystem::path reports = folder.path() / "r";
  std::filesystem::create_directories(reports / "SP5XYZ.txt");
  EXPECT_EQ(
      Run({"--cross-check", (folder.path() / "logs").string(), "--reports", reports.string()}),
      kExitOutputFailed);
  EXPECT_NE(errors.str().find("the report of SP5XYZ is not written"), std::string::npos)
      << errors.str();
  EXPECT_TRUE(std::filesystem::is_regular_file(reports / "SP9ABC.txt"));
}

TEST(ScoreOptions, UsageErrors) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{},
        {"--odbc", "DSN=x"},
        {"--table", "QSO", "log.adi"},
        {"--format", "xml", "log.adi"},
        {"--order", "time", "log.adi"},
        {"--bogus", "log.adi"},
        {"log.adi", "--cty"},
        {"--odbc", "DSN=x", "--table", "Q", "log.adi"},
        {"--window", "3", "log.adi"},
        {"--verdicts", "v.csv", "logs"},
        {"--reports", "r", "logs"},
        {"--from", "2026-02-31", "log.adi"},
        {"--from", "2026-04-31 12:00", "log.adi"},
        {"--to", "2026-12-06 24:00", "log.adi"},
        {"--to", "2026-12-06 12:60", "log.adi"},
        {"--from", "2026-12-06 12:00", "--to", "2026-12-06 12:00", "log.adi"},
        {"--from", "2026-12-06 12:00", "--to", "2026-12-06 11:59", "log.adi"},
        {"--remove-uniques", "logs"},
        {"--cross-check", "logs", "log.adi"},
        {"--cross-check"},
        {"--cross-check", "--verdicts", "v.csv", "a", "b"},
        {"--cross-check", "logs", "--contacts"},
        {"--cross-check", "logs", "--my-call", "SP1AAA"},
        {"--cross-check", "logs", "--window", "-1"},
        {"--cross-check", "logs", "--window", "1441"},
        {"--cross-check", "logs", "--nil-penalty", "101"},
        {"--cross-check", "logs", "--penalty-nil", "101"},
        {"--cross-check", "logs", "--window", "five"},
        {"--cross-check", "logs", "--exclude", "=a reason without a call"},
        {"--exclude", "SP1AAA", "log.adi"},
        {"--cross-check", "logs", "--site", "s", "--private-reports"},
        {"--site", "s", "--status", "draft", "logs"},
        {"--title", "Zeltra RTTY Contest 2026", "logs"}}) {
    EXPECT_THROW(ParseScoreOptions(arguments), std::invalid_argument);
  }
  const ScoreOptions options = ParseScoreOptions({"--contacts", "a.adi", "b.log", "--strict"});
  EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.adi", "b.log"}));
  EXPECT_TRUE(options.output.contacts);
  EXPECT_TRUE(options.batch.listContacts);
  EXPECT_TRUE(options.batch.reading.strict);
  EXPECT_FALSE(options.batch.forCheck);
  EXPECT_FALSE(options.batch.forSite);
  EXPECT_GE(options.batch.jobs, 1u);
  EXPECT_TRUE(ParseScoreOptions({"--help"}).help);
  EXPECT_NO_THROW(
      ParseScoreOptions({"--from", "2026-12-06 12:00", "--to", "2026-12-06 12:01", "log.adi"}));
  const ScoreOptions period =
      ParseScoreOptions({"--from", "2024-02-29", "--to", "2024-02-29T23:59", "log.adi"});
  EXPECT_EQ(period.batch.reading.from, "202402290000");
  EXPECT_EQ(period.batch.reading.to, "202402292359");
  // Each job's settings hold what it needs of the others.
  const ScoreOptions check =
      ParseScoreOptions({"--cross-check", "logs", "--window", "1440", "--penalty-nil", "100",
                         "--by-category", "--site", "s", "--jobs", "3"});
  EXPECT_EQ(check.crossCheck, "logs");
  EXPECT_EQ(check.check.folder, "logs");
  EXPECT_EQ(check.check.rules.windowMinutes, 1440);
  EXPECT_EQ(check.check.scores.nilPenalty, 100);
  EXPECT_TRUE(check.output.byCategory);
  EXPECT_TRUE(check.batch.forCheck);
  EXPECT_TRUE(check.batch.forSite);
  EXPECT_FALSE(check.batch.listContacts);
  EXPECT_EQ(check.batch.jobs, 3u);
  EXPECT_EQ(ParseScoreOptions({"--cross-check", "logs"}).check.rules.windowMinutes, 5);
  // --nil-penalty, the old name, still works.
  EXPECT_EQ(
      ParseScoreOptions({"--cross-check", "logs", "--nil-penalty", "2"}).check.scores.nilPenalty,
      2);
  // The folder may come last, after the other options.
  const ScoreOptions last = ParseScoreOptions({"--cross-check", "--verdicts", "v.csv", "logs"});
  EXPECT_EQ(last.crossCheck, "logs");
  EXPECT_EQ(last.check.folder, "logs");
  EXPECT_EQ(last.verdictsFile, "v.csv");
  EXPECT_TRUE(last.inputs.empty());
  for (const char* option : {"--odbc", "--table", "--my-call", "--my-continent", "--my-dxcc",
                             "--cty", "--order", "--contacts", "--format", "--check-claimed",
                             "--strict", "--help", "--cross-check", "--window", "--penalty-nil",
                             "--remove-uniques", "--by-category", "--verdicts", "--reports"})
    EXPECT_NE(ScoreUsage().find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace zeltra::score

namespace zeltra::score {
namespace {

using testing::FileText;

// zeltra-score opens a database to read it, never to change or create it.
TEST_F(ScoreRunTest, TheDatabaseIsOnlyRead) {
  const std::vector<std::string> own = {"--table", "QSO", "--my-call", "SP5XYZ"};
  const auto runOn = [&](const std::string& connection) {
    std::vector<std::string> arguments = {"--odbc", connection};
    arguments.insert(arguments.end(), own.begin(), own.end());
    return Run(arguments);
  };

  // A write-ahead log left by a writer that stopped: its rows count, and
  // neither file changes (closing the last connection would otherwise
  // fold the log into the database and remove it).
  const auto copy = folder.path() / "copy.db";
  {
    SqliteLog log;
    log.Execute("PRAGMA journal_mode=WAL");
    log.Execute("PRAGMA wal_autocheckpoint=0");
    log.CreateLogTable();
    log.Insert({{.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"},
                {.callSign = "DL1ABC", .band = "14", .continent = "EU", .dxccPrefix = "DL"}});
    ASSERT_TRUE(std::filesystem::exists(log.file().string() + "-wal"));
    std::filesystem::copy_file(log.file(), copy);
    std::filesystem::copy_file(log.file().string() + "-wal", copy.string() + "-wal");
  }
  const std::string database = FileText(copy);
  const std::string wal = FileText(copy.string() + "-wal");
  EXPECT_EQ(runOn("DRIVER=SQLite3;Database=" + copy.string()), kExitScored) << errors.str();
  EXPECT_NE(out.str().find("Score: 15*(0+2+2)=60"), std::string::npos) << out.str();
  EXPECT_EQ(FileText(copy), database);
  ASSERT_TRUE(std::filesystem::exists(copy.string() + "-wal"));
  EXPECT_EQ(FileText(copy.string() + "-wal"), wal);

  // A path in braces, and one with characters a URI escapes, read the same.
  const auto odd = folder.path() / "odd #1; 100%.db";
  std::filesystem::copy_file(copy, odd);
  std::filesystem::copy_file(copy.string() + "-wal", odd.string() + "-wal");
  EXPECT_EQ(runOn("DRIVER=SQLite3;Database={" + odd.string() + "}"), kExitScored) << errors.str();
  EXPECT_NE(out.str().find("Score: 15*(0+2+2)=60"), std::string::npos) << out.str();

  // A missing file is an error, and stays missing.
  const auto missing = folder.path() / "missing.db";
  EXPECT_EQ(runOn("DRIVER=SQLite3;Database=" + missing.string()), kExitUnreadable);
  EXPECT_EQ(errors.str(),
            "zeltra-score: the database file " + missing.string() + " does not exist\n");
  EXPECT_FALSE(std::filesystem::exists(missing));

#ifndef _WIN32
  // A data source (DSN=) is made read-only as DRIVER= is: its database,
  // named in odbc.ini, is neither changed nor created.
  const auto sources = folder.path() / "odbc.ini";
  std::ofstream(sources) << "[ZeltraWal]\nDriver=SQLite3\nDatabase=" << copy.string()
                         << "\n[ZeltraMissing]\nDriver=SQLite3\nDatabase=" << missing.string()
                         << "\n[ZeltraOther]\nDriver=ZeltraNoSuchDriver\nDatabase=x.db\n";
  ::setenv("ODBCINI", sources.c_str(), 1);
  EXPECT_EQ(runOn("DSN=ZeltraWal"), kExitScored) << errors.str();
  EXPECT_NE(out.str().find("Score: 15*(0+2+2)=60"), std::string::npos) << out.str();
  EXPECT_EQ(FileText(copy), database);
  EXPECT_EQ(FileText(copy.string() + "-wal"), wal);
  EXPECT_EQ(runOn("DSN={ZeltraMissing};Timeout=100"), kExitUnreadable);
  EXPECT_EQ(errors.str(),
            "zeltra-score: the database file " + missing.string() + " does not exist\n");
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(runOn("DSN=ZeltraNone"), kExitUnreadable);
  EXPECT_EQ(errors.str(), "zeltra-score: there is no ODBC data source named ZeltraNone\n");
  EXPECT_EQ(runOn("DSN=ZeltraOther"), kExitUnreadable);
  EXPECT_EQ(errors.str(),
            "zeltra-score: the log database is read only through SQLite's ODBC driver, which can "
            "be told not to change it; not through ZeltraNoSuchDriver\n");
  EXPECT_EQ(runOn("DRIVER={Microsoft Access Driver (*.mdb)};DBQ=x.mdb"), kExitUnreadable);
  EXPECT_NE(errors.str().find("not through Microsoft Access Driver (*.mdb)"), std::string::npos);
  EXPECT_EQ(runOn("FILEDSN=" + sources.string()), kExitUnreadable);
  EXPECT_NE(errors.str().find("FILEDSN"), std::string::npos) << errors.str();
  ::unsetenv("ODBCINI");
#endif

  // A database another program holds locked fails, with the reason.
  SqliteLog locked;
  locked.CreateLogTable();
  locked.Execute("BEGIN EXCLUSIVE");
  locked.Execute("INSERT INTO QSO (CallSign) VALUES ('W1AW')");
  EXPECT_EQ(runOn("DRIVER=SQLite3;Database=" + locked.file().string()), kExitUnreadable);
  EXPECT_NE(errors.str().find("locked"), std::string::npos) << errors.str();
  locked.Execute("ROLLBACK");
}

}  // namespace
}  // namespace zeltra::score
