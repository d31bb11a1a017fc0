#include "core/scoring/Scorer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/Contacts.h"

namespace zeltra {
namespace {

using testing::Contact;

class ScorerTest : public ::testing::Test {
 protected:
  std::int32_t Score(const Contact& contact, bool record = true) {
    testing::Load(current, contact);
    return scorer.ScoreQSO(record);
  }

  const TStatistic& Band(std::string_view name) {
    for (const TStatistic& statistic : scorer.Statistics().Items())
      if (statistic.Name == name) return statistic;
    throw std::runtime_error("no statistic for band " + std::string(name));
  }

  TQSOData current{};
  int bandSyncs = 0;
  Scorer scorer{current, [this] { ++bandSyncs; }};
};

TEST_F(ScorerTest, PointsFollowCountryThenContinent) {
  struct Case {
    const char* name;
    Contact contact;
    std::int32_t points;
  };
  const Case cases[] = {
      {"own country", {.callSign = "SP1A", .continent = "EU", .dxccPrefix = "SP"}, 2},
      {"own country elsewhere", {.callSign = "SP2A", .continent = "AF", .dxccPrefix = "SP"}, 2},
      {"own continent", {.callSign = "DL1A", .continent = "EU", .dxccPrefix = "DL"}, 5},
      {"other continent", {.callSign = "W1A", .continent = "NA", .dxccPrefix = "K"}, 10},
      {"prefix case folded", {.callSign = "SP3A", .continent = "NA", .dxccPrefix = "sp"}, 2},
      {"continent case folded", {.callSign = "F1A", .continent = "eu", .dxccPrefix = "F"}, 5},
      {"empty prefixes are equal",
       {.callSign = "X1", .continent = "NA", .dxccPrefix = "", .myDxccPrefix = ""},
       2},
      {"empty continents are equal",
       {.callSign = "X2", .continent = "", .dxccPrefix = "ZZ", .myContinent = ""},
       5},
      {"prefix with blank is another country",
       {.callSign = "X3", .continent = "NA", .dxccPrefix = "SP "},
       10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Score(c.contact, false), c.points);
    EXPECT_EQ(Score(c.contact, true), c.points);
  }
}

TEST_F(ScorerTest, DuplicateNeedsSameCallBandAndModeByteForByte) {
  ASSERT_EQ(Score({.callSign = "SP9ABC", .band = "14", .mode = "RTTY"}), 5);
  struct Case {
    Contact contact;
    bool duplicate;
  };
  const Case cases[] = {
      {{.callSign = "SP9ABC", .band = "14", .mode = "RTTY"}, true},
      {{.callSign = "SP9ABC", .band = "14", .mode = "CW"}, false},
      {{.callSign = "SP9ABC", .band = "21", .mode = "RTTY"}, false},
      {{.callSign = "sp9abc", .band = "14", .mode = "RTTY"}, false},
      {{.callSign = "SP9ABC", .band = "14.0", .mode = "RTTY"}, false},
      {{.callSign = "SP9ABC", .band = "14 ", .mode = "RTTY"}, false},
      {{.callSign = "SP9ABC", .band = "14", .mode = "rtty"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.contact.callSign) + "/" + std::string(c.contact.band) + "/" +
                 std::string(c.contact.mode));
    testing::Load(current, c.contact);
    EXPECT_EQ(scorer.CheckDupe(), c.duplicate);
    EXPECT_EQ(scorer.ScoreQSO(false) == kDuplicate, c.duplicate);
  }
}

TEST_F(ScorerTest, DuplicateChangesNothing) {
  Score({.callSign = "SP9ABC", .report = "599K"});
  const int syncsBefore = bandSyncs;
  EXPECT_EQ(Score({.callSign = "SP9ABC", .report = "599M"}), kDuplicate);
  EXPECT_EQ(bandSyncs, syncsBefore);
  EXPECT_EQ(Band("14").QSOs, 1);
  EXPECT_EQ(scorer.VoivList().Items(), std::vector<std::string>{"14|K|"});
  EXPECT_EQ(scorer.Contacts().size(), 1u);
}

TEST_F(ScorerTest, PreviewRecordsNothing) {
  EXPECT_EQ(Score({.callSign = "W1AW", .continent = "NA", .report = "599K"}, false), 10);
  EXPECT_EQ(bandSyncs, 0);
  EXPECT_TRUE(scorer.Statistics().Items().empty());
  EXPECT_EQ(scorer.Contacts().size(), 0u);
  EXPECT_EQ(scorer.VoivList().size() + scorer.DXCCList().size() + scorer.ContinentList().size(),
            0u);
  // Recording the same contact afterwards counts it once, for the same points.
  EXPECT_EQ(Score({.callSign = "W1AW", .continent = "NA", .report = "599K"}), 10);
  EXPECT_EQ(Score({.callSign = "W1AW", .continent = "NA", .report = "599K"}), kDuplicate);
  EXPECT_EQ(Band("14").QSOs, 1);
}

TEST_F(ScorerTest, FirstContactOnABandCountsEverything) {
  EXPECT_EQ(Score({.callSign = "SP9ABC",
                   .band = "21",
                   .continent = "EU",
                   .dxccPrefix = "SP",
                   .report = "599K"}),
            2);
  const TStatistic& band = Band("21");
  EXPECT_EQ(band.QSOs, 1);
  EXPECT_EQ(band.Points, 2);
  EXPECT_EQ(band.Voivodeships, 1);
  EXPECT_EQ(band.DXCCs, 1);
  EXPECT_EQ(band.Continents, 1);
  EXPECT_EQ(bandSyncs, 1);
}

TEST_F(ScorerTest, VoivodeshipLetterIsTheLastCharacterOfTheTrimmedReport) {
  struct Case {
    const char* report;
    const char* key;  // nullptr: no voivodeship
  };
  const Case cases[] = {
      {"599K", "14|K|"}, {"599 k", "14|K|"}, {"K", "14|K|"},        {" 599m \r\n", "14|M|"},
      {"599", nullptr},  {"599 Q", nullptr}, {"599 A", nullptr},    {"", nullptr},
      {"   ", nullptr},  {"K599", nullptr},  {"599 \xc4", nullptr}, {"599 z\x01", "14|Z|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.report);
    scorer.Clear();
    Score({.callSign = "CALL", .report = c.report});
    if (c.key == nullptr) {
      EXPECT_TRUE(scorer.VoivList().Items().empty());
      EXPECT_EQ(Band("14").Voivodeships, 0);
    } else {
      EXPECT_EQ(scorer.VoivList().Items(), std::vector<std::string>{c.key});
      EXPECT_EQ(Band("14").Voivodeships, 1);
    }
  }
}

// Each of the sixteen letters counts, in either case, and no other letter
// does; bytes 0x80 to 0xFF are text, never blanks to trim.
TEST_F(ScorerTest, EverySixteenLettersAndNoOther) {
  for (char c = 'A'; c <= 'Z'; ++c) {
    const bool counts = std::string_view("BCDFGJKLMOPRSUWZ").find(c) != std::string_view::npos;
    for (const std::string& report : {std::string("599") + c, std::string("\x80") + c,
                                      std::string(1, static_cast<char>(c + 32))}) {
      SCOPED_TRACE(report);
      scorer.Clear();
      Score({.callSign = "CALL", .report = report});
      EXPECT_EQ(Band("14").Voivodeships, counts ? 1 : 0);
    }
  }
  for (const char* report : {"599K\xa0", "599K\x80", "599K\xff", "\xa0"}) {
    SCOPED_TRACE(report);
    scorer.Clear();
    Score({.callSign = "CALL", .report = report});
    EXPECT_EQ(Band("14").Voivodeships, 0);
  }
  // A call sign ending in 0xA0 is another station.
  scorer.Clear();
  EXPECT_NE(Score({.callSign = "SP9ABC", .report = "K"}), kDuplicate);
  EXPECT_NE(Score({.callSign = "SP9ABC\xa0", .report = "K"}), kDuplicate);
  EXPECT_NE(Score({.callSign = "\x80SP9ABC", .report = "K"}), kDuplicate);
}

TEST_F(ScorerTest, MultipliersCountPerBandExceptContinents) {
  Score({.callSign = "SP1A", .band = "14", .mode = "RTTY", .dxccPrefix = "SP", .report = "K"});
  Score({.callSign = "SP1A", .band = "14", .mode = "CW", .dxccPrefix = "SP", .report = "K"});
  Score({.callSign = "SP1A", .band = "21", .mode = "RTTY", .dxccPrefix = "SP", .report = "K"});
  Score({.callSign = "SP2B", .band = "21", .mode = "RTTY", .dxccPrefix = "sp", .report = "k"});
  EXPECT_EQ(Band("14").Voivodeships, 1);
  EXPECT_EQ(Band("21").Voivodeships, 1);
  EXPECT_EQ(Band("14").DXCCs, 1);
  EXPECT_EQ(Band("21").DXCCs, 1);
  EXPECT_EQ(Band("14").Continents, 1);
  EXPECT_EQ(Band("21").Continents, 0);
  EXPECT_EQ(Band("14").QSOs, 2);
  // Sets keep each text as first added.
  EXPECT_EQ(scorer.DXCCList().Items(), (std::vector<std::string>{"14|SP|", "21|SP|"}));
}

TEST_F(ScorerTest, EmptyAndOddTextsAreOrdinaryValues) {
  Score({.callSign = "A1", .band = "14", .continent = "", .dxccPrefix = ""});
  Score({.callSign = "A2", .band = "14", .continent = "", .dxccPrefix = ""});
  Score({.callSign = "A3", .band = "50"});
  Score({.callSign = "A4", .band = "14 "});
  EXPECT_EQ(Band("14").DXCCs, 1);
  EXPECT_EQ(Band("14").Continents, 1);
  EXPECT_EQ(scorer.DXCCList().Items().front(), "14||");
  EXPECT_EQ(Band("50").QSOs, 1);
  EXPECT_EQ(Band("14 ").QSOs, 1);
  EXPECT_EQ(scorer.Statistics().Items().size(), 3u);
}

TEST_F(ScorerTest, AnyRecordBytesGiveADefinedResult) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> shortLength(0, 4);
  for (int round = 0; round < 3000; ++round) {
    auto* raw = reinterpret_cast<unsigned char*>(&current);
    for (std::size_t i = 0; i < sizeof current; ++i)
      raw[i] = static_cast<unsigned char>(byte(random));
    // Most rounds get short texts from a tiny alphabet, so that duplicates
    // and shared multipliers really occur among the random records.
    if (round % 4 != 0) {
      for (ShortString* field : {&current.CallSign, &current.Band, &current.Mode}) {
        field->bytes[0] = static_cast<unsigned char>(shortLength(random));
        for (int i = 1; i <= field->bytes[0]; ++i)
          field->bytes[i] = static_cast<unsigned char>("aA\0|"[byte(random) % 4]);
      }
    }
    const std::int32_t preview = scorer.ScoreQSO(false);
    const std::int32_t recorded = scorer.ScoreQSO(true);
    EXPECT_TRUE(preview == kDuplicate || preview == 2 || preview == 5 || preview == 10);
    EXPECT_EQ(recorded, preview);
    EXPECT_EQ(scorer.ScoreQSO(true), kDuplicate);
  }
  std::int64_t qsos = 0;
  for (const TStatistic& statistic : scorer.Statistics().Items()) qsos += statistic.QSOs;
  EXPECT_EQ(static_cast<std::size_t>(qsos), scorer.Contacts().size());
}

}  // namespace
}  // namespace zeltra
