#include "core/logscore/LogReading.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/logfile/AdifReader.h"

namespace zeltra {
namespace {

const CountryFile& Countries() {
  static const CountryFile countries = CountryFile::Parse(
      "Poland:  15:  28:  EU:  52.28:  -18.67:  -1.0:  SP:\n    SP,SQ,=SP9XX{AS};\n"
      "Germany:  14:  28:  EU:  51.0:  -10.0:  -1.0:  DL:\n    DL;\n"
      "United States:  05:  08:  NA:  37.6:  91.8:  5.0:  K:\n    K,W;\n");
  return countries;
}

// Each contact as "position call band dxcc continent report".
std::vector<std::string> Contacts(const LogContents& log) {
  std::vector<std::string> contacts;
  for (std::size_t i = 0; i < log.contacts.size(); ++i) {
    const Contact contact = log.contacts.At(i);
    contacts.push_back(std::to_string(log.contacts.PositionAt(i)) + " " + contact.callSign + " " +
                       contact.band + " " + contact.dxccPrefix + " " + contact.continent + " " +
                       contact.reportReceived);
  }
  return contacts;
}

LogContents ReadAdif(const std::string& text) {
  std::istringstream in(text);
  AdifReader records(in);
  ReadOptions options;
  options.countries = &Countries();
  return ReadAdifLog(records, options);
}

LogContents ReadCabrillo(const std::string& text, bool strict = false) {
  std::istringstream in(text);
  ReadOptions options;
  options.countries = &Countries();
  options.strict = strict;
  return ReadCabrilloLog(in, options);
}

TEST(LogReading, UntidyAdifLogsAreReadRecordByRecord) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> contacts;
    std::size_t skipped;
  };
  const Case cases[] = {
      {"lower case, the first record's length no number: the records after it read",
       "<call:x>SP9ABC<band:3>20m<mode:4>rtty<eor>\n"
       "<call:6>sp9abc<band:3>20m<mode:4>rtty<srx_string:5>599 k<eor>\n"
       "<call:4>w1aw<band:3>15m<mode:4>RTTY<eor>\n",
       {"2 SP9ABC 14 SP EU 599 k", "3 W1AW 21 K NA "},
       1},
      {"COUNTRY names the country, not the call's prefix",
       "<CALL:6>SP9ABC<BAND:3>20m<MODE:4>RTTY<COUNTRY:7>germany<EOR>"
       "<CALL:6>SP9ABC<BAND:3>40m<MODE:4>RTTY<COUNTRY:7>Nowhere<EOR>",
       {"1 SP9ABC 14 DL EU ", "2 SP9ABC 7 SP EU "},
       0},
      {"an exact call of the country file, logged in lower case",
       "<CALL:5>sp9xx<BAND:3>20m<MODE:4>RTTY<EOR>",
       {"1 SP9XX 14 SP AS "},
       0},
      {"CONT and a given continent win over the country file",
       "<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<CONT:2>eu<EOR>",
       {"1 W1AW 14 K EU "},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LogContents log = ReadAdif(c.text);
    EXPECT_EQ(Contacts(log), c.contacts);
    EXPECT_EQ(log.skippedCount, c.skipped);
  }
}

TEST(LogReading, UntidyCabrilloLogsAreReadLineByLine) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> contacts;
    std::size_t skipped;
    std::string ownCall;
  };
  const Case cases[] = {
      {"tabs between the fields",
       "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\n"
       "QSO:\t14080\tRY\t2026-12-05\t1000\tSP5XYZ\t599\tK\tDL1ABC\t599\t001\n"
       "END-OF-LOG:\n",
       {"3 DL1ABC 14 DL EU 599 001"},
       0,
       "SP5XYZ"},
      {"CR alone ends the lines, as old Macintosh programs write",
       "START-OF-LOG: 3.0\rCALLSIGN: SP5XYZ\r"
       "QSO: 14080 RY 2026-12-05 1000 SP5XYZ 599 K DL1ABC 599 001\rEND-OF-LOG:\r",
       {"3 DL1ABC 14 DL EU 599 001"},
       0,
       "SP5XYZ"},
      {"tags in lower case",
       "start-of-log: 3.0\ncallsign: sp5xyz\n"
       "qso: 14080 RY 2026-12-05 1000 SP5XYZ 599 K dl1abc 599 001\nend-of-log:\n",
       {"3 DL1ABC 14 DL EU 599 001"},
       0,
       "SP5XYZ"},
      {"a bad line in the middle: the lines after it count",
       "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\n"
       "QSO: 14080 RY 2026-12-05 1000 SP5XYZ 599 K DL1ABC 599 001\n"
       "QSO: 99999999 RY 2026-12-05 1001 SP5XYZ 599 K W1AW 599 002\n"
       "QSO: 21080 RY 2026-12-05 1002 SP5XYZ 599 K W1AW 599 003\nEND-OF-LOG:\n",
       {"3 DL1ABC 14 DL EU 599 001", "5 W1AW 21 K NA 599 003"},
       1,
       "SP5XYZ"},
      {"thousands of empty QSO: lines: every one counted, the first ones told",
       "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\n" +
           [] {
             std::string lines;
             for (int i = 0; i < 2500; ++i) lines += "QSO:\n";
             return lines;
           }() +
           "QSO: 14080 RY 2026-12-05 1000 SP5XYZ 599 K DL1ABC 599 001\nEND-OF-LOG:\n",
       {"2503 DL1ABC 14 DL EU 599 001"},
       2500,
       "SP5XYZ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LogContents log = ReadCabrillo(c.text);
    EXPECT_EQ(Contacts(log), c.contacts);
    EXPECT_EQ(log.skippedCount, c.skipped);
    EXPECT_EQ(log.ownCall.value_or(""), c.ownCall);
  }
  // Strict reading stops at the bad line: nothing after it counts.
  const LogContents strict = ReadCabrillo(cases[3].text, true);
  EXPECT_EQ(Contacts(strict), std::vector<std::string>{"3 DL1ABC 14 DL EU 599 001"});
  EXPECT_TRUE(strict.stopped);
}

TEST(LogReading, TheOwnStationIsTheFirstRecordsThatNamesIt) {
  const LogContents log = ReadAdif(
      "<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<EOR>"
      "<CALL:6>DL1ABC<BAND:3>20m<MODE:4>RTTY<OPERATOR:5>sp5op<MY_COUNTRY:6>Poland<EOR>"
      "<CALL:6>DL1ABC<BAND:3>40m<MODE:4>RTTY<STATION_CALLSIGN:6>SP5XYZ<EOR>");
  EXPECT_EQ(log.ownCall.value_or(""), "SP5OP");
  EXPECT_EQ(log.ownCountry.value_or(""), "Poland");
  const LogContents both = ReadAdif(
      "<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<OPERATOR:4>SP5O<STATION_CALLSIGN:6>sp5xyz<EOR>");
  EXPECT_EQ(both.ownCall.value_or(""), "SP5XYZ");  // the station before its operator
  ASSERT_EQ(log.warnings.size(), 1u);
  EXPECT_EQ(log.warnings[0].position, 3u);
  EXPECT_EQ(log.warnings[0].message,
            "own call SP5XYZ is not SP5OP, which record 2 names and the log is scored as");
  EXPECT_TRUE(both.warnings.empty());

  // Operators of one station are no other station; several others are counted.
  const LogContents multi = ReadAdif(
      "<CALL:4>W1AW<BAND:3>20m<STATION_CALLSIGN:6>SP5XYZ<OPERATOR:5>SP5AA<EOR>"
      "<CALL:4>W2AW<BAND:3>20m<STATION_CALLSIGN:6>sp5xyz<OPERATOR:5>SP5BB<EOR>"
      "<CALL:4>W3AW<BAND:3>20m<STATION_CALLSIGN:6>SP6XYZ<EOR>"
      "<CALL:4>W4AW<BAND:3>20m<STATION_CALLSIGN:6>SP7XYZ<EOR>");
  ASSERT_EQ(multi.warnings.size(), 1u);
  EXPECT_EQ(multi.warnings[0].position, 3u);
  EXPECT_EQ(multi.warnings[0].message,
            "own call SP6XYZ is not SP5XYZ, which record 1 names and the log is scored as "
            "(2 records name another own call)");
}

// Each sort of problem is told with its kind, and counted by it.
TEST(LogReading, ProblemsAreOfTheirKind) {
  const std::string good = "<CALL:6>DL1ABC<BAND:3>20m<MODE:4>RTTY<STATION_CALLSIGN:6>SP5XYZ<EOR>";
  struct Case {
    std::string text;
    ProblemKind kind;
  };
  const Case cases[] = {
      {"<CALL:4>W1AW<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<EOR>", ProblemKind::kFieldGivenTwice},
      {"<CALL:4>W1AW<BAND:3>20m<FREQ:5>7.040<MODE:4>RTTY<EOR>",
       ProblemKind::kBandAndFrequencyDisagree},
      {"<CALL:4>W1AW<BAND:3>20m<FREQ:3>abc<MODE:4>RTTY<EOR>", ProblemKind::kFrequencyUnreadable},
      {"<CALL:4>W1AW<SRX_STRING:300>" + std::string(300, '5') + "<BAND:3>20m<MODE:4>RTTY<EOR>",
       ProblemKind::kTextTooLong},
      {"<CALL:4>W1AW<BAND:3>20m<MODE:4>RTTY<STATION_CALLSIGN:6>SP6XYZ<EOR>",
       ProblemKind::kOtherOwnCall},
  };
  for (const Case& c : cases) {
    const LogContents log = ReadAdif(good + c.text);
    SCOPED_TRACE(c.text);
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_EQ(log.warnings[0].kind, c.kind);
    EXPECT_EQ(log.warnings[0].position, 2u);
    EXPECT_EQ(log.warningsByKind, (std::map<ProblemKind, std::size_t>{{c.kind, 1}}));
    EXPECT_EQ(log.contacts.size(), 2u);
  }
  // A text as long as the record holds is no problem.
  EXPECT_TRUE(ReadAdif("<CALL:4>W1AW<BAND:3>20m<SRX_STRING:255>" + std::string(255, '5') + "<EOR>")
                  .warnings.empty());
  // The report is RST_RCVD and STATE; a serial number (SRX) is no part of it.
  const LogContents serial = ReadAdif(
      "<CALL:4>W1AW<BAND:3>20m<RST_RCVD:3>599<SRX:2>12<EOR>"
      "<CALL:4>W2AW<BAND:3>20m<RST_RCVD:3>599<SRX:2>12<STATE:1>K<EOR>");
  ASSERT_EQ(serial.contacts.size(), 2u);
  EXPECT_EQ(serial.contacts.At(0).reportReceived, "599");
  EXPECT_EQ(serial.contacts.At(1).reportReceived, "599 K");
  // A text too long, and not the record's last field, is scored cut; the
  // fields after it count.
  const LogContents cut = ReadAdif("<CALL:4>W1AW<SRX_STRING:300>" + std::string(300, '5') +
                                   "<BAND:3>20m<MODE:4>RTTY<EOR>");
  ASSERT_EQ(cut.contacts.size(), 1u);
  EXPECT_EQ(cut.contacts.At(0).band, "14");
  EXPECT_EQ(cut.contacts.At(0).reportReceived, std::string(kLongestRecordText, '5'));
  const LogContents unknown = ReadAdif("<CALL:6>ZZ9ZZZ<BAND:3>20m<MODE:4>RTTY<EOR>");
  EXPECT_EQ(unknown.warningsByKind,
            (std::map<ProblemKind, std::size_t>{{ProblemKind::kCallWithoutCountry, 1},
                                                {ProblemKind::kManyCallsWithoutCountry, 1}}));
  const LogContents bad = ReadAdif(good + "<CALL:4>W1AW<BAND:4>99m<EOR>");
  ASSERT_EQ(bad.skipped.size(), 1u);
  EXPECT_EQ(bad.skipped[0].kind, ProblemKind::kSkipped);
}

// A date and time that cannot be are no contact, in any mode: the record
// or line is skipped and named.
TEST(LogReading, ImpossibleDatesAndTimesAreSkipped) {
  struct Case {
    const char* name;
    std::string date;  // ADIF QSO_DATE; Cabrillo's from it
    std::string time;
    bool read;
  };
  const Case cases[] = {
      {"an ordinary time", "20261206", "1200", true},
      {"with seconds", "20261206", "120059", true},
      {"a leap day", "20240229", "0000", true},
      {"the last minute of a day", "20261231", "2359", true},
      {"the 30th of February", "20260230", "1200", false},
      {"a leap day in a common year", "20260229", "1200", false},
      {"the 31st of a 30-day month", "20260431", "1200", false},
      {"hour 24", "20261206", "2400", false},
      {"minute 60", "20261206", "1260", false},
      {"second 60", "20261206", "120060", false},
      {"month 13", "20261306", "1200", false},
      {"a date with dashes", "2026-12-06", "1200", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LogContents adif =
        ReadAdif("<CALL:4>W1AW<BAND:3>20m<QSO_DATE:" + std::to_string(c.date.size()) + ">" +
                 c.date + "<TIME_ON:" + std::to_string(c.time.size()) + ">" + c.time + "<EOR>");
    EXPECT_EQ(adif.contacts.size(), c.read ? 1u : 0u);
    EXPECT_EQ(adif.skippedCount, c.read ? 0u : 1u);
    if (!c.read) {
      EXPECT_EQ(adif.skipped.at(0).message, "QSO_DATE " + c.date + " and TIME_ON " + c.time +
                                                " are no date and time (YYYYMMDD, HHMM or HHMMSS)");
    }
    if (c.time.size() != 4 || c.date.size() != 8) continue;
    const std::string date =
        c.date.substr(0, 4) + "-" + c.date.substr(4, 2) + "-" + c.date.substr(6);
    const LogContents cabrillo =
        ReadCabrillo("START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\nQSO: 14080 RY " + date + " " + c.time +
                     " SP5XYZ 599 K W1AW 599 001\n");
    EXPECT_EQ(cabrillo.contacts.size(), c.read ? 1u : 0u);
    if (!c.read) {
      EXPECT_EQ(cabrillo.skipped.at(0).message,
                "\"" + date + " " + c.time + "\" is no date and time");
    }
  }
  // A Cabrillo date that is no date is named so.
  const LogContents letter = ReadCabrillo(
      "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\nQSO: 14080 RY 2026-12-0A 1200 SP5XYZ 599 K W1AW 599 "
      "1\n");
  ASSERT_EQ(letter.skipped.size(), 1u);
  EXPECT_EQ(letter.skipped[0].message, "date \"2026-12-0A\" is not one (YYYY-MM-DD)");
  // Records without a date and time are read, as before.
  EXPECT_EQ(ReadAdif("<CALL:4>W1AW<BAND:3>20m<QSO_DATE:8>20261206<EOR>").contacts.size(), 1u);
}

}  // namespace
}  // namespace zeltra

namespace zeltra {
namespace {

TEST(LogReading, TheHeaderTellsTheStationForItsPage) {
  std::string header =
      "START-OF-LOG: 3.0\nCALLSIGN: SP9AHW\nOPERATORS: SP9AHW SQ9ZZ\n"
      "CLUB: Klub Łódź <b>\nNAME: Jan\nCLUB: Second club\nSOAPBOX: Great fun!\nSOAPBOX:\n"
      "SOAPBOX: 73 to all\n";
  const LogContents log = ReadCabrillo(header + "END-OF-LOG:\n");
  EXPECT_EQ(log.station.operators, "SP9AHW SQ9ZZ");
  EXPECT_EQ(log.station.club, "Klub Łódź <b>");
  EXPECT_EQ(log.station.name, "Jan");
  EXPECT_EQ(log.station.soapbox, (std::vector<std::string>{"Great fun!", "", "73 to all"}));
  EXPECT_FALSE(log.station.soapboxCut);
  // A soapbox of a megabyte keeps its first lines up to the bound, the
  // last of them ending on it.
  // 19 bytes of short lines above, and 15 lines of 1091: 16,384 exactly.
  const std::size_t lineLength = 1091;
  ASSERT_EQ(19 + 15 * lineLength, kLongestSoapbox);
  const std::string line = "SOAPBOX: " + std::string(lineLength, 'x') + "\n";
  std::string book = header;
  for (int i = 0; i < 1000; ++i) book += line;
  const LogContents cut = ReadCabrillo(book + "END-OF-LOG:\n");
  EXPECT_TRUE(cut.station.soapboxCut);
  // The three short lines above, then as many long ones as fit exactly.
  EXPECT_EQ(cut.station.soapbox.size(), 3u + 15u);
  std::size_t kept = 0;
  for (const std::string& text : cut.station.soapbox) kept += text.size();
  EXPECT_LE(kept, kLongestSoapbox);
  // The category tags: the first of each, sixteen at most.
  std::string categories = header + "CATEGORY-MODE: RTTY\nCATEGORY-MODE: CW\n";
  for (int i = 0; i < 20; ++i) categories += "CATEGORY-X" + std::to_string(i) + ": A\n";
  const LogContents tagged = ReadCabrillo(categories + "END-OF-LOG:\n");
  ASSERT_EQ(tagged.categoryTags.size(), 16u);
  EXPECT_EQ(tagged.categoryTags.front().second, "RTTY");
  EXPECT_EQ(tagged.categoryTags.back().first, "CATEGORY-X14");
}

}  // namespace
}  // namespace zeltra
