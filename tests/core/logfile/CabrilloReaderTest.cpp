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
  ASSERT_EQ(log.qsos.size(), 3u);
  EXPECT_TRUE(log.problems.empty());
  EXPECT_EQ(log.qsos[0].line, 7u);
  EXPECT_EQ(log.qsos[0].band, "14");
  EXPECT_EQ(log.qsos[0].mode, "RTTY");
  EXPECT_EQ(log.qsos[0].myCall, "SP5XYZ");
  EXPECT_EQ(log.qsos[0].call, "SP9ABC");
  EXPECT_EQ(log.qsos[0].received, "599 K");
  EXPECT_EQ(log.qsos[1].call, "W1AW");  // the transmitter id is no part of the exchange
  EXPECT_EQ(log.qsos[1].received, "599 CT");
  EXPECT_EQ(log.qsos[2].mode, "CW");
  EXPECT_EQ(log.qsos[2].received, "599");
}

TEST(CabrilloReader, MalformedLinesAreNamedAndSkipped) {
  const CabrilloLog log = Read(
      "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 SP9ABC\n"
      "QSO: 14O80 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 06-12-2026 1200 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 12:00 SP5XYZ 599 001 SP9ABC 599 K\n"
      "QSO: 14080 RY 2026-12-06 1200 SP5XYZ 599 001 SP9ABC 599 K\n");
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.qsos[0].line, 5u);
  ASSERT_EQ(log.problems.size(), 4u);
  EXPECT_EQ(log.problems[0].line, 1u);
  EXPECT_EQ(log.problems[0].message, "QSO line has 7 fields, fewer than 8");
  EXPECT_EQ(log.problems[1].message, "frequency \"14O80\" is not one");
  EXPECT_EQ(log.problems[2].message, "date \"06-12-2026\" is not one (YYYY-MM-DD)");
  EXPECT_EQ(log.problems[3].message, "time \"12:00\" is not one (HHMM)");
}

}  // namespace
}  // namespace zeltra
