#include "core/scoring/Scorer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Contacts.h"

namespace zeltra {
namespace {

using testing::ContactFields;

class ScorerTest : public ::testing::Test {
 protected:
  std::int32_t Score(const ContactFields& fields, bool record = true) {
    return record ? scorer.Record(fields.contact(), fields.own())
                  : scorer.Preview(fields.contact(), fields.own());
  }

  const BandStatistic& Band(std::string_view name) {
    for (const BandStatistic& statistic : scorer.statistics().items())
      if (statistic.name == name) return statistic;
    throw std::runtime_error("no statistic for band " + std::string(name));
  }

  Scorer scorer;
};

TEST_F(ScorerTest, PointsFollowCountryThenContinent) {
  struct Case {
    const char* name;
    ContactFields contact;
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
    ContactFields contact;
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
    EXPECT_EQ(scorer.IsDuplicate(c.contact.contact()), c.duplicate);
    EXPECT_EQ(Score(c.contact, false) == kDuplicate, c.duplicate);
  }
}

TEST_F(ScorerTest, DuplicateChangesNothing) {
  Score({.callSign = "SP9ABC", .report = "599K"});
  EXPECT_EQ(Score({.callSign = "SP9ABC", .report = "599M"}), kDuplicate);
  EXPECT_EQ(Band("14").qsos, 1);
  EXPECT_EQ(scorer.voivodeships().items(), std::vector<std::string>{"14|K|"});
  EXPECT_EQ(scorer.contacts().size(), 1u);
}

TEST_F(ScorerTest, PreviewRecordsNothing) {
  EXPECT_EQ(Score({.callSign = "W1AW", .continent = "NA", .report = "599K"}, false), 10);
  EXPECT_TRUE(scorer.statistics().items().empty());
  EXPECT_EQ(scorer.contacts().size(), 0u);
  EXPECT_EQ(scorer.voivodeships().size() + scorer.dxccs().size() + scorer.continents().size(), 0u);
  // Recording the same contact afterwards counts it once, for the same points.
  EXPECT_EQ(Score({.callSign = "W1AW", .continent = "NA", .report = "599K"}), 10);
  EXPECT_EQ(Score({.callSign = "W1AW", .continent = "NA", .report = "599K"}), kDuplicate);
  EXPECT_EQ(Band("14").qsos, 1);
}

TEST_F(ScorerTest, FirstContactOnABandCountsEverything) {
  EXPECT_EQ(Score({.callSign = "SP9ABC",
                   .band = "21",
                   .continent = "EU",
                   .dxccPrefix = "SP",
                   .report = "599K"}),
            2);
  const BandStatistic& band = Band("21");
  EXPECT_EQ(band.qsos, 1);
  EXPECT_EQ(band.points, 2);
  EXPECT_EQ(band.voivodeships, 1);
  EXPECT_EQ(band.dxccs, 1);
  EXPECT_EQ(band.continents, 1);
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
      EXPECT_TRUE(scorer.voivodeships().items().empty());
      EXPECT_EQ(Band("14").voivodeships, 0);
    } else {
      EXPECT_EQ(scorer.voivodeships().items(), std::vector<std::string>{c.key});
      EXPECT_EQ(Band("14").voivodeships, 1);
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
      EXPECT_EQ(Band("14").voivodeships, counts ? 1 : 0);
    }
  }
  for (const char* report : {"599K\xa0", "599K\x80", "599K\xff", "\xa0"}) {
    SCOPED_TRACE(report);
    scorer.Clear();
    Score({.callSign = "CALL", .report = report});
    EXPECT_EQ(Band("14").voivodeships, 0);
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
  EXPECT_EQ(Band("14").voivodeships, 1);
  EXPECT_EQ(Band("21").voivodeships, 1);
  EXPECT_EQ(Band("14").dxccs, 1);
  EXPECT_EQ(Band("21").dxccs, 1);
  EXPECT_EQ(Band("14").continents, 1);
  EXPECT_EQ(Band("21").continents, 0);
  EXPECT_EQ(Band("14").qsos, 2);
  // Sets keep each text as first added.
  EXPECT_EQ(scorer.dxccs().items(), (std::vector<std::string>{"14|SP|", "21|SP|"}));
}

TEST_F(ScorerTest, EmptyAndOddTextsAreOrdinaryValues) {
  Score({.callSign = "A1", .band = "14", .continent = "", .dxccPrefix = ""});
  Score({.callSign = "A2", .band = "14", .continent = "", .dxccPrefix = ""});
  Score({.callSign = "A3", .band = "50"});
  Score({.callSign = "A4", .band = "14 "});
  EXPECT_EQ(Band("14").dxccs, 1);
  EXPECT_EQ(Band("14").continents, 1);
  EXPECT_EQ(scorer.dxccs().items().front(), "14||");
  EXPECT_EQ(Band("50").qsos, 1);
  EXPECT_EQ(Band("14 ").qsos, 1);
  EXPECT_EQ(scorer.statistics().items().size(), 3u);
}

// Whether a letter is worked on a band: the first voivodeship key, in the
// order recorded, that holds band|letter| anywhere.
TEST_F(ScorerTest, LetterStatesFollowTheVoivodeshipKeys) {
  EXPECT_EQ(scorer.StateOfLetter("14", 'K'), LetterState::kNothingRecorded);
  Score({.callSign = "SP1A", .band = "14", .report = "K"});
  Score({.callSign = "SP2A", .band = "21", .report = "B"});
  struct Case {
    const char* band;
    char letter;
    LetterState state;
  };
  const Case cases[] = {
      {"14", 'K', LetterState::kWorked},    {"14", 'B', LetterState::kNotWorked},
      {"14", 'Z', LetterState::kNotWorked}, {"21", 'B', LetterState::kWorked},
      {"21", 'K', LetterState::kNotWorked}, {"", 'K', LetterState::kWorked},  // "|K|": any band
      {"4", 'K', LetterState::kWorked},  // a substring test: "4|K|" occurs in "14|K|"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.band) + " " + c.letter);
    EXPECT_EQ(scorer.StateOfLetter(c.band, c.letter), c.state);
  }
  // A band text with a leading blank keeps its key, which still holds "14|M|";
  // with a trailing blank it does not.
  Score({.callSign = "SP3A", .band = " 14", .report = "M"});
  Score({.callSign = "SP4A", .band = "14 ", .report = "P"});
  EXPECT_EQ(scorer.StateOfLetter("14", 'M'), LetterState::kWorked);
  EXPECT_EQ(scorer.StateOfLetter("14", 'P'), LetterState::kNotWorked);
}

}  // namespace
}  // namespace zeltra
