// What a refusal asks of an entrant: to mend the log only where the log is
// what is wrong.

#include "tools/robot/RobotPages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeltra::robot {
namespace {

TEST(RobotPages, ARefusalAsksToMendOnlyWhatTheEntrantCanMend) {
  struct Case {
    int status;
    bool mend;
  };
  const std::vector<Case> cases = {{400, true},  {413, true},  {415, true}, {422, true},
                                   {403, false}, {429, false}, {503, false}};
  for (const Case& c : cases) {
    const std::string page = RefusalPage(c.status, {"why"});
    EXPECT_EQ(page.find("Mend it and send it again") != std::string::npos, c.mend) << c.status;
    EXPECT_NE(page.find("(" + std::to_string(c.status) + ")"), std::string::npos);
  }
}

}  // namespace
}  // namespace zeltra::robot
