#include "core/logfile/CabrilloReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zeltra {
namespace {

CabrilloLog Read(const std::string& text) {
  std::istringstream in(text);
  return ReadCabrillo(in);
}

TEST(CabrilloReader, HeaderAndQsoLines) {
  const CabrilloLog log = Read(
      "START-OF-LOG: 3.0\r\n"
      "CALLSIGN: SP5XYZ\r\n"
      "CONTEST: ZELTRA-RTTY\r\n"
      "CATEGORY-OPERATOR: SINGLE-OP\r\n"
      "CATEGORY-BAND: ALL\r\n"
      "CLAIMED-SCORE: 102\r\n"
      "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\r\n"
      "QSO:  21080 RY 2026-12-06  1201 SP5XYZ   599 002   W1AW  599 CT 1\r\n"
      "X-QSO: 14080 RY 2026-12-06 1202 SP5XYZ 599 003 DL1ABC 599 001\r\n"
      "QSO: 28080 CW 2026-12-06 1203 SP5XYZ 599 JA1XX 599\r\n"
      "END-OF-LOG:\r\n");
  EXPECT_EQ(log.Tag("CALLSIGN"), "SP5XYZ");
  EXPECT_EQ(log.Tag("CLAIMED-SCORE"), "102");
  EXPECT_EQ(log.Categories(), "SINGLE-OP ALL");
  ASSERT_EQ(log.qsos.size(), 2u);
  EXPECT_EQ(log.exchangeFields, 2u);
  EXPECT_EQ(log.qsos[0].line, 7u);
  EXPECT_EQ(log.qsos[0].band, "14");
  EXPECT_EQ(log.qsos[0].mode, "RTTY");
  EXPECT_EQ(log.qsos[0].myCall, "SP5XYZ");
  EXPECT_EQ(log.qsos[0].call, "SP9ABC");
  EXPECT_EQ(log.qsos[0].received, "599 K");
  EXPECT_EQ(log.qsos[1].call, "W1AW");  // the transmitter id is no part of the exchange
  EXPECT_EQ(log.qsos[1].received, "599 CT");
  EXPECT_EQ(log.qsos[0].when, "202612061200");
  // One exchange field where the log's other lines have two: not read.
  ASSERT_EQ(log.problems.size(), 1u);
  EXPECT_EQ(log.problems[0].line, 10u);
}

// The worked call is found after the sent exchange's width, which the log's
// own lines tell; a line that cannot be split so is named, never misread.
TEST(CabrilloReader, AReportIsNeverTakenForACall) {
  const std::string header = "START-OF-LOG: 3.0\nCALLSIGN: W6REK\n";
  const std::string good = "QSO: 14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU 599 31 HI\n";
  struct Case {
    const char* name;
    std::string lines;
    std::vector<std::string> calls;
    std::vector<std::size_t> problemLines;
  };
  const Case cases[] = {
      {"a received field missing",
       good + good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA KH6TU 599 31\n",
       {"KH6TU", "KH6TU"},
       {5}},
      {"a sent field missing",
       good + good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 KH6TU 599 31 HI\n",
       {"KH6TU", "KH6TU"},
       {5}},
      {"a transmitter id",
       good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05 MA 1\n",
       {"KH6TU", "K1AR"},
       {}},
      {"a number where the id goes is no id",
       good + good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05 MA 7\n",
       {"KH6TU", "KH6TU"},
       {5}},
      {"fields that make no call",
       "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA 599 31 HI 599\n",
       {},
       {3}},
      {"fewer fields than the log's width",
       good + good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 KH6TU 599\n",
       {"KH6TU", "KH6TU"},
       {5}},
      {"a call without a figure, as a lost shift prints it, is read",
       good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA KHYTU 599 31 HI\n"
              "QSO: 14000 RY 2020-09-27 2306 W6REK 599 03 CA KHYT 599 31 HI\n"
              "QSO: 14000 RY 2020-09-27 2307 W6REK 599 03 CA spoahw 599 31 HI\n",
       {"KH6TU", "KHYTU", "KHYT", "spoahw"},
       {}},
      {"a letter where an id goes is no id, even in every line",
       "QSO: 14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU 599 31 HI K\n"
       "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05 MA K\n",
       {},
       {3, 4}},
      {"a prefix alone is read, a short word is no call",
       good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA KH6 599 31 HI\n"
              "QSO: 14000 RY 2020-09-27 2306 W6REK 599 03 CA KH 599 31 HI\n",
       {"KH6TU", "KH6"},
       {5}},
      {"an odd transmitter id in one line is named",
       good + good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05 MA 2\n",
       {"KH6TU", "KH6TU"},
       {5}},
      // Half is not most: the lines with the id are named.
      {"an odd transmitter id in exactly half the lines is no column",
       good + good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05 MA 2\n" +
           "QSO: 14000 RY 2020-09-27 2306 W6REK 599 03 CA W1AW 599 06 CT 2\n",
       {"KH6TU", "KH6TU"},
       {5, 6}},
      {"an odd transmitter id in every line is that column",
       "QSO: 14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU 599 31 HI 2\n"
       "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05 MA 2\n",
       {"KH6TU", "K1AR"},
       {}},
      {"a no-break space between fields",
       "QSO:\xC2\xA0"
       "14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU\xC2\xA0"
       "599 31 HI\n",
       {"KH6TU"},
       {}},
      {"a lone line of its own width",
       "QSO: 14000 RY 2020-09-27 2305 W6REK 599 K1AR 599\n",
       {"K1AR"},
       {}},
      {"a word of signs is no call",
       good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 CA ???? 599 31 HI\n",
       {"KH6TU"},
       {4}},
      {"a report sent cut is no call, in a line read in part as in one read whole",
       "QSO: 14000 RY 2020-09-27 2300 W6REK 5NN 03 KH6TU 5NN 31\n"
       "QSO: 14000 RY 2020-09-27 2301 W6REK 5NN 04 K1AR 5nn 05\n"
       "QSO: 14000 RY 2020-09-27 2302 W6REK 5NN 05 W1AW\n",
       {"KH6TU", "K1AR"},
       {5}},
      // As many lines of each width: the narrower is the log's, so that
      // no line's call is taken from its exchange.
      {"two widths as common: the narrower",
       good + "QSO: 14000 RY 2020-09-27 2305 W6REK 599 03 K1AR 599 05\n",
       {"K1AR"},
       {3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CabrilloLog log = Read(header + c.lines);
    std::vector<std::string> calls;
    for (const CabrilloQso& qso : log.qsos) calls.push_back(qso.call);
    EXPECT_EQ(calls, c.calls);
    std::vector<std::size_t> lines;
    for (const LineProblem& problem : log.problems) lines.push_back(problem.line);
    EXPECT_EQ(lines, c.problemLines);
  }
  // A line read in part names the call worked, not the report sent cut.
  for (const char* report : {"5NN", "1NN", "59N"}) {
    const CabrilloLog part =
        Read(header + "QSO: 14000 RY 2020-09-27 2302 W6REK " + report + " 05 W1AW\n");
    ASSERT_EQ(part.problems.size(), 1u) << report;
    ASSERT_TRUE(part.problems[0].part.has_value()) << report;
    EXPECT_EQ(part.problems[0].part->call, "W1AW") << report;
  }
  const CabrilloLog log = Read(header + good);
  EXPECT_EQ(log.qsos[0].received, "599 31 HI");
}

// A line that cannot be read whole still says, where it can, the band,
// the time and the call worked; one whose time is no time says nothing.
TEST(CabrilloReader, ALineReadInPart) {
  const CabrilloLog log = Read(
      "START-OF-LOG: 3.0\nCALLSIGN: W6REK\n"
      "QSO: 14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU 599 31 HI\n"
      "QSO: 14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU 599 31 HI\n"
      "QSO: 14000 RY 2020-09-27 2300 W6REK 599 03 CA KH6TU 599 31 HI\n"
      "QSO: 21000 RY 2020-09-27 2305 W6REK 599 03 CA K1AR 599 05\n"
      "QSO: 21000 RY 2020-09-27 2399 W6REK 599 03 CA K1AR 599 05\n");
  ASSERT_EQ(log.problems.size(), 2u);
  ASSERT_TRUE(log.problems[0].part.has_value());
  EXPECT_EQ(log.problems[0].part->band, "21");
  EXPECT_EQ(log.problems[0].part->when, "202009272305");
  EXPECT_EQ(log.problems[0].part->call, "K1AR");
  EXPECT_FALSE(log.problems[1].part.has_value());
}

TEST(CabrilloReader, HeaderOwnCallCategoriesAndBounds) {
  const CabrilloLog log = Read(
      "START-OF-LOG: 2.0\nCATEGORY-POWER: LOW\nCALLSIGN: SP5XYZ\nCATEGORY-BAND: 20M\n"
      "CATEGORY: SINGLE-OP ALL\nCATEGORY-OPERATOR: SINGLE-OP\nCATEGORY-X1: WIDE\n"
      "CATEGORY-POWER: HIGH\n"
      "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 1201 SP5XYZ/P 599 002 SP9ABD 599 K\n"
      "QSO: 14080 RY 2026-12-06 1202 SP5XYA 599 003 SP9ABE 599 K\n" +
      std::string(kLongestCabrilloLine + 1, 'x') +
      "\nEND-OF-LOG:\nQSO: 14080 RY 2026-12-06 1203 SP5XYZ 599 004 SP9ABF 599 K\n");
  EXPECT_EQ(log.Categories(), "SINGLE-OP ALL SINGLE-OP 20M LOW");
  EXPECT_EQ(log.qsos.size(), 3u);  // nothing after END-OF-LOG
  ASSERT_EQ(log.warnings.size(), 1u);
  EXPECT_EQ(log.warnings[0].line, 10u);
  EXPECT_EQ(
      log.warnings[0].message,
      "own call SP5XYZ/P is not the header's CALLSIGN SP5XYZ (2 lines have another own call)");
  ASSERT_EQ(log.problems.size(), 1u);
  EXPECT_EQ(log.problems[0].line, 12u);
}

TEST(CabrilloReader, MalformedLinesAreNamedAndSkipped) {
  const CabrilloLog log = Read(
      "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 SP9ABC\n"
      "QSO: 14O80 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 06-12-2026 1200 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 12:00 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 12O0 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 120 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n");
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.qsos[0].line, 7u);
  ASSERT_EQ(log.problems.size(), 6u);
  EXPECT_EQ(log.problems[0].line, 1u);
  EXPECT_EQ(log.problems[0].message, "QSO line has 7 fields, fewer than 8");
  EXPECT_EQ(log.problems[1].message, "frequency \"14O80\" is not one");
  EXPECT_EQ(log.problems[2].message, "date \"06-12-2026\" is not one (YYYY-MM-DD)");
  EXPECT_EQ(log.problems[3].message, "time \"12:00\" is not one (HHMM)");
  // Four characters, one no figure; figures, but three.
  EXPECT_EQ(log.problems[4].message, "time \"12O0\" is not one (HHMM)");
  EXPECT_EQ(log.problems[5].message, "time \"120\" is not one (HHMM)");
}

// A log of thousands of lines no one can read keeps the first ones to
// tell and counts the rest; which lines are first does not depend on which
// pass found them (a line too long among lines too short, lines of a sound
// width that cannot be read).
TEST(CabrilloReader, ALogOfBadLinesKeepsItsFirstProblemsAndCountsTheRest) {
  constexpr std::size_t kBadLines = 3 * kKeptLineProblems;
  std::string text = "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\n";
  text += "QSO: 14O80 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n";  // line 3
  for (std::size_t i = 0; i < kBadLines; ++i)
    text += i == 5 ? std::string(5000, 'Q') + "\n" : "QSO:\n";
  text += "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n";
  const CabrilloLog log = Read(text);
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.problemCount, kBadLines + 1);
  ASSERT_EQ(log.problems.size(), kKeptLineProblems);
  EXPECT_EQ(log.problems[0].message, "frequency \"14O80\" is not one");
  EXPECT_EQ(log.problems[1].line, 4u);
  EXPECT_EQ(log.problems[1].message, "QSO line has 0 fields, fewer than 8");
  EXPECT_EQ(log.problems[6].message, "line longer than 4096 bytes");
  EXPECT_EQ(log.problems.back().line, kKeptLineProblems + 2);
}

}  // namespace
}  // namespace zeltra
