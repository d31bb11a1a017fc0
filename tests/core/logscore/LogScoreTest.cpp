#include "core/logscore/LogScore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/logscore/CallRunDuplicates.h"
#include "core/scoring/Scorer.h"

namespace zeltra {
namespace {

TEST(CallRunDuplicates, TellsABandAndModeSeenBeforeWithinOneCallSign) {
  CallRunDuplicates seen;
  EXPECT_TRUE(seen.Add("14", "RTTY"));
  EXPECT_FALSE(seen.Add("14", "RTTY"));
  EXPECT_TRUE(seen.Add("14", "rtty"));  // byte for byte, as the scorer's index
  EXPECT_TRUE(seen.Add("1", "4RTTY"));  // not the same pair run together
  EXPECT_TRUE(seen.Add("7", "RTTY"));
  seen.Clear();
  EXPECT_TRUE(seen.Add("14", "RTTY"));
  // Past the pairs compared one by one, the same answers from the hashed ones.
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(seen.Add("14", "M" + std::to_string(i))) << i;
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(seen.Add("14", "M" + std::to_string(i))) << i;
    EXPECT_FALSE(seen.Add("14", "RTTY")) << round;
    seen.Clear();
    EXPECT_TRUE(seen.Add("14", "RTTY")) << round;
  }
}

struct Replayed {
  LogScore score;
  std::vector<std::string> outcomes;  // per contact in replay order
};

Replayed Replay(const ContactList& contacts, bool byCallSign) {
  const OwnStation own{"EU", "SP"};
  Replayed replayed;
  const auto each = [&](const ContactOutcome& outcome) {
    replayed.outcomes.push_back(std::to_string(outcome.position) + " " +
                                std::to_string(outcome.points) + " " +
                                std::to_string(outcome.voivodeship) + std::to_string(outcome.dxcc) +
                                std::to_string(outcome.continent));
  };
  replayed.score = byCallSign
                       ? ReplayContacts(contacts, contacts.ByCallSign(), own, each)
                       : ReplayContacts(contacts, contacts.ByCallSign().Indexes(), own, each);
  return replayed;
}

TEST(ReplayContacts, ByCallSignTellsDuplicatesAsTheWholeLogsIndexDoes) {
  // Random logs full of duplicates, calls alike but for case or a last
  // byte, and calls repeated more often than are compared one by one:
  // replayed by call sign, each contact brings what the scorer's own index
  // of the whole log says it brings, in the same order.
  const std::vector<std::string> calls = {"SP9ABC", "sp9abc", "SP9AB",  "SP9ABCD",
                                          "DL1ABC", "W1AW",   "OK1XYZ", "SP9ABCDEFGHIJ"};
  const std::vector<std::string> bands = {"3.5", "7", "14", "28"};
  const std::vector<std::string> modes = {"RTTY", "rtty", "CW", ""};
  std::mt19937 random(5);
  for (int log = 0; log < 20; ++log) {
    ContactList contacts;
    const std::size_t count = 1 + random() % 400;
    for (std::size_t i = 0; i < count; ++i)
      contacts.Add(i + 1, Contact{calls[random() % calls.size()], bands[random() % bands.size()],
                                  modes[random() % modes.size()], "EU", random() % 2 ? "SP" : "DL",
                                  "599 " + std::string(1, static_cast<char>('A' + random() % 4))});
    const Replayed byRun = Replay(contacts, true);
    const Replayed byIndex = Replay(contacts, false);
    EXPECT_EQ(byRun.outcomes, byIndex.outcomes) << log;
    EXPECT_EQ(byRun.score.qsos, byIndex.score.qsos);
    EXPECT_EQ(byRun.score.points, byIndex.score.points);
    EXPECT_EQ(byRun.score.Multipliers(), byIndex.score.Multipliers());
    EXPECT_LT(byRun.score.qsos, static_cast<std::int64_t>(count)) << "no duplicate in log " << log;
  }
}

TEST(ReplayContacts, OnlyTheFirstOfEachCallBandAndModeCounts) {
  ContactList contacts;
  const auto add = [&](std::size_t position, const char* call, const char* band, const char* mode) {
    contacts.Add(position, Contact{call, band, mode, "EU", "DL", "599 K"});
  };
  add(1, "DL1ABC", "14", "RTTY");
  add(2, "DL1ABC", "7", "RTTY");
  add(3, "SP9XYZ", "14", "RTTY");
  add(4, "DL1ABC", "14", "RTTY");  // a duplicate of line 1, after another call
  add(5, "DL1ABC", "14", "PSK");
  std::vector<std::string> outcomes;
  const LogScore score = ReplayContacts(
      contacts, contacts.ByCallSign(), OwnStation{"EU", "SP"}, [&](const ContactOutcome& outcome) {
        outcomes.push_back(std::to_string(outcome.position) +
                           (outcome.points == kDuplicate ? " dupe" : ""));
      });
  EXPECT_EQ(outcomes, (std::vector<std::string>{"1", "2", "4 dupe", "5", "3"}));
  EXPECT_EQ(score.qsos, 4);
}

}  // namespace
}  // namespace zeltra
