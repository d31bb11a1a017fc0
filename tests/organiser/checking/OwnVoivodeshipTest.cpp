#include "organiser/checking/OwnVoivodeship.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

// The exchanges a log sent, as loggers write them, and the voivodeship
// they say the station is in.
TEST(OwnVoivodeship, IsTheLetterMostOfTheLinesSent) {
  struct Case {
    std::vector<std::string> sent;
    std::optional<char> voivodeship;
  };
  const Case cases[] = {
      {{"599 K", "59 K", "5NN k", "K"}, 'K'},
      {{"599 K", "599 K", "599 M"}, 'K'},
      // A slip on one line of many does not move the station.
      {{"599 W", "599 W", "599 W", "599 P"}, 'W'},
      // Half its lines are no majority.
      {{"599 K", "599 M"}, std::nullopt},
      {{"599 K", "", "", ""}, std::nullopt},
      // Serial numbers, and letters that are no voivodeship's.
      {{"599 001", "599 002", "599 003"}, std::nullopt},
      {{"599 X", "599 X"}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const Case& test : cases) {
    std::vector<QsoDetails> lines;
    for (const std::string& sent : test.sent) lines.push_back({"202612051200", sent, "599 001"});
    EXPECT_EQ(OwnVoivodeshipOf(lines), test.voivodeship) << ::testing::PrintToString(test.sent);
  }
}

}  // namespace
}  // namespace zeltra::organiser
