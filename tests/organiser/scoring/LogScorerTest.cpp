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

}  // namespace
}  // namespace zeltra::organiser
