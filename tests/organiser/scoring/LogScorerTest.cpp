#include "organiser/scoring/LogScorer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/SqliteLog.h"

namespace zeltra::organiser {
namespace {

using testing::TemporaryFolder;

// A log whose text is past the bound the caller set fails with the bound
// named, and is marked too large: the robot words its refusal by it.
TEST(LogScorer, ALogPastTheBoundFailsSayingSo) {
  TemporaryFolder scratch;
  const std::string path = (scratch.path() / "SP1AAA.log").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << "START-OF-LOG: 3.0\nCALLSIGN: SP1AAA\n";
    for (int i = 0; i < 100; ++i)
      out << "QSO: 14080 RY 2026-12-05 1200 SP1AAA 599 K DL1ABC 599 001\n";
    out << "END-OF-LOG:\n";
  }
  BatchSettings settings;
  settings.reading.largestText = 1000;
  const ScoredFile scored = ScoreApart(settings, nullptr, {path, false}, false);
  ASSERT_TRUE(scored.result.has_value());
  EXPECT_TRUE(scored.result->Failed());
  EXPECT_TRUE(scored.result->tooLarge);
  EXPECT_EQ(scored.result->failure, "cannot read the file: its text is larger than 1000 bytes");

  settings.reading.largestText = 0;
  const ScoredFile whole = ScoreApart(settings, nullptr, {path, false}, false);
  ASSERT_TRUE(whole.result.has_value());
  EXPECT_FALSE(whole.result->tooLarge);
}

// Without the check, a single-band entrant's contacts on other bands are
// left out; the times kept for its activity stay with the contacts kept.
TEST(LogScorer, ASingleBandLogLeavesOutItsOtherBands) {
  TemporaryFolder scratch;
  const std::string path = (scratch.path() / "SP1AAA.log").string();
  std::ofstream(path, std::ios::binary)
      << "START-OF-LOG: 3.0\nCALLSIGN: SP1AAA\nCATEGORY-BAND: 20M\n"
         "QSO: 7040 RY 2026-12-05 0900 SP1AAA 599 K DL1ABC 599 001\n"
         "QSO: 14080 RY 2026-12-05 1000 SP1AAA 599 K DL1ABC 599 002\n"
         "QSO: 14080 RY 2026-12-05 1005 SP1AAA 599 K OK2XYZ 599 003\n"
         "END-OF-LOG:\n";
  BatchSettings settings;
  settings.forSite = true;
  settings.station.continent = "EU";
  settings.station.dxcc = "SP";
  const ScoredFile scored = ScoreApart(settings, nullptr, {path, false}, false);
  ASSERT_TRUE(scored.result.has_value());
  ASSERT_FALSE(scored.result->Failed()) << scored.result->failure;
  EXPECT_EQ(scored.result->score->qsos, 2u);
  EXPECT_EQ(scored.result->leftOut, 1u);
  ASSERT_EQ(scored.result->activity.hours.size(), 1u);
  constexpr std::int64_t kHoursPerDay = 24;
  EXPECT_EQ(scored.result->activity.hours[0].hour % kHoursPerDay, 10);
  EXPECT_EQ(scored.result->activity.qsos, 2u);
}

}  // namespace
}  // namespace zeltra::organiser
