#include "tools/robot/UploadCheck.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "support/FileText.h"
#include "support/SqliteLog.h"
#include "tools/robot/Gzip.h"
#include "tools/robot/store/IncomingFile.h"

namespace zeltra::robot {
namespace {

const std::string kCabrillo =
    "START-OF-LOG: 3.0\nCALLSIGN: SP9AHW\nCATEGORY-OPERATOR: SINGLE-OP\nCLAIMED-SCORE: 12\n"
    "QSO: 14080 RY 2026-12-05 1000 SP9AHW 599 K DL1ABC 599 001\n"
    "QSO: 14080 RY 2026-12-05 1003 SP9AHW 599 K OK1XYZ 599\n"
    "QSO: 14080 CW 2026-12-05 1005 SP9AHW 599 K OK1XYZ 599 003\n"
    "END-OF-LOG:\n";

TEST(UploadCheck, ALogIsReadAsZeltraScoreReadsItAndRefusedForWhatAnEntrantCanMend) {
  zeltra::testing::TemporaryFolder scratch;
  const CountryFile countries =
      CountryFile::Parse(zeltra::testing::FileText(std::string(ZELTRA_SCORE_CASES) + "/cty.dat"));
  struct Case {
    std::string name;
    std::string bytes;
    std::vector<std::string> errors;  // none: accepted
    std::string call;
    std::int64_t qsos = 0;
    std::size_t warnings = 0;
    std::uint64_t largestText = 0;
    int status = kUnprocessable;
    std::vector<std::string> contests = {};
  };
  const std::vector<Case> cases = {
      {"a Cabrillo log, a line skipped and one in CW left out", kCabrillo, {}, "SP9AHW", 1, 2},
      {"an ADIF log",
       "<STATION_CALLSIGN:6>SP9AHW<CALL:6>DL1ABC<BAND:3>20m<MODE:4>RTTY<EOR>",
       {},
       "SP9AHW",
       1,
       0},
      {"no log at all",
       "Dear contest manager, my log is attached.",
       {"not a log: no ADIF tags, no ADX, no START-OF-LOG: line; send the log your logging "
        "program exports as ADIF or Cabrillo"},
       "",
       0,
       0},
      {"no own call",
       "<CALL:6>DL1ABC<BAND:3>20m<MODE:4>RTTY<EOR>",
       {"the log names no own call: add CALLSIGN: to the Cabrillo header, or STATION_CALLSIGN "
        "to each ADIF record"},
       "",
       0,
       0},
      {"nothing the contest scores",
       "<STATION_CALLSIGN:6>SP9AHW<CALL:6>DL1ABC<BAND:3>20m<MODE:2>CW<EOR>",
       {"the log holds no contact the contest scores",
        "1 contact in CW not counted: the contest is RTTY only"},
       "",
       0,
       0},
      {"packed, its text as large as the robot takes",
       Gzip(kCabrillo),
       {},
       "SP9AHW",
       1,
       2,
       kCabrillo.size()},
      {"packed, its text a byte larger than the robot takes",
       Gzip(kCabrillo),
       {"the log, unpacked, is larger than the robot takes: at most " +
        std::to_string(kCabrillo.size() - 1) + " bytes"},
       "",
       0,
       0,
       kCabrillo.size() - 1,
       kTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    organiser::ReadSettings options;
    options.largestText = c.largestText;
    std::optional<IncomingFile> piece(scratch.path());
    piece->Append(c.bytes);
    const auto checked =
        CheckUpload(piece->path(), piece->Sha256(), options, c.contests, &countries);
    piece.reset();
    if (c.errors.empty()) {
      ASSERT_TRUE(std::holds_alternative<Acceptable>(checked));
      const Acceptable& log = std::get<Acceptable>(checked);
      EXPECT_EQ(log.facts.call, c.call);
      EXPECT_EQ(log.facts.qsos, c.qsos);
      EXPECT_EQ(log.facts.sha256, Sha256(c.bytes));
      EXPECT_EQ(log.warnings.size(), c.warnings);
      for (const std::string& warning : log.warnings)
        EXPECT_EQ(warning.find(scratch.path().string()), std::string::npos) << warning;
    } else {
      ASSERT_TRUE(std::holds_alternative<Refused>(checked));
      EXPECT_EQ(std::get<Refused>(checked).status, c.status);
      EXPECT_EQ(std::get<Refused>(checked).errors, c.errors);
    }
    // Nothing is left beside the piece read.
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
  }
  EXPECT_EQ(Sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// What an entrant reads of a log: each note in an entrant's words, with
// the period's times and no option's name; the contest a log names.
TEST(UploadCheck, AnEntrantReadsWhatToMendInAnEntrantsWords) {
  zeltra::testing::TemporaryFolder scratch;
  const CountryFile countries =
      CountryFile::Parse(zeltra::testing::FileText(std::string(ZELTRA_SCORE_CASES) + "/cty.dat"));
  const auto cabrillo = [](const std::string& header, const std::string& lines) {
    return "START-OF-LOG: 3.0\nCALLSIGN: SP9AHW\n" + header + lines +
           "QSO: 14080 RY 2026-12-05 1000 SP9AHW 599 K DL1ABC 599 001\nEND-OF-LOG:\n";
  };
  struct Case {
    std::string name;
    std::string bytes;
    std::vector<std::string> notes;  // accepted: its warnings; refused: its reasons
    bool accepted = true;
  };
  const std::vector<Case> cases = {
      {"contacts before and after the period",
       cabrillo("CONTEST: ZELTRA-RTTY\n",
                "QSO: 14080 RY 2026-12-04 2359 SP9AHW 599 K DL2ABC 599 002\n"
                "QSO: 14080 RY 2026-12-06 0000 SP9AHW 599 K DL3ABC 599 003\n"
                "QSO: 14080 RY 2026-12-06 0001 SP9AHW 599 K DL4ABC 599 004\n"),
       {"1 contact before the contest's start, 2026-12-05 00:00 UTC, not counted",
        "2 contacts at or after the contest's end, 2026-12-06 00:00 UTC, not counted"}},
      {"a band that is not the contest's, and a line without its exchange",
       cabrillo("CONTEST: Zeltra RTTY\n",
                "QSO: 5357 RY 2026-12-05 1001 SP9AHW 599 K DL2ABC 599 002\n"
                "QSO: 14080 RY 2026-12-05 1002 SP9AHW\n"),
       {"line 5: QSO line has 5 fields, fewer than 8; not read",
        "1 contact on 5 MHz not counted: not a band of the contest"}},
      {"no CONTEST: line",
       cabrillo("", ""),
       {"the log does not name its contest: a Cabrillo log says it in its CONTEST: line"}},
      {"another contest's log",
       cabrillo("CONTEST: CQ-WW-RTTY\n", ""),
       {"the log is for another contest: its CONTEST: says \"CQ-WW-RTTY\", and this robot "
        "takes logs of ZELTRA-RTTY only; send the log of this contest"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    organiser::ReadSettings options;
    options.from = "202612050000";
    options.to = "202612060000";
    std::optional<IncomingFile> piece(scratch.path());
    piece->Append(c.bytes);
    const auto checked =
        CheckUpload(piece->path(), piece->Sha256(), options, {"ZELTRA-RTTY"}, &countries);
    piece.reset();
    if (c.accepted) {
      ASSERT_TRUE(std::holds_alternative<Acceptable>(checked));
      EXPECT_EQ(std::get<Acceptable>(checked).warnings, c.notes);
    } else {
      ASSERT_TRUE(std::holds_alternative<Refused>(checked));
      EXPECT_EQ(std::get<Refused>(checked).errors, c.notes);
      EXPECT_EQ(std::get<Refused>(checked).call, "SP9AHW");
    }
  }
}

TEST(UploadCheck, AnOwnCallIsACallSign) {
  struct Case {
    std::string call;
    bool taken;
  };
  const std::vector<Case> cases = {
      {"SP9AHW", true},
      {"sp9ahw", true},
      {"SP9AHW/P", true},
      {"DL/SP9AHW/MM", true},
      {"K1A", true},
      {"3Z0", true},
      {std::string(17, 'A') + "1/2", true},
      {std::string(18, 'A') + "1/2", false},
      {std::string(100000, 'A') + "1", false},
      {"K1", false},
      {"SP9AHW\n", false},
      {std::string("DL6AB\0X", 8), false},
      {"SP9\x1B[2J", false},
      {"DL6RZ\xD0\x88", false},
      {"SP9-AHW", false},
      {"SP9 AHW", false},
      {"SPAHW", false},
      {"1234", false},
      {"////", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsCallSign(c.call), c.taken) << c.call.substr(0, 30);
}

}  // namespace
}  // namespace zeltra::robot
