#include "core/ui/Voivodeships.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(Voivodeships, BandButtonsShareThePanelWithTenLast) {
  struct Case {
    int width, height, w, lastWidth;
  };
  const Case cases[] = {{327, 18, 36, 35}, {200, 18, 22, 20}, {500, 30, 55, 56}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const auto places = BandButtonLayout(c.width, c.height);
    for (int k = 0; k < 8; ++k) {
      EXPECT_EQ(places[static_cast<std::size_t>(k)],
                (Rect{k * c.w, 0, k * c.w + c.w, c.height - 1}));
    }
    EXPECT_EQ(places[8].left, 8 * c.w);
    EXPECT_EQ(places[8].Width(), c.lastWidth);
    EXPECT_EQ(places[8].right, c.width - 4);
  }
  EXPECT_EQ(BandButtonLayout(0, 18)[8], Rect{});
  EXPECT_EQ(BandButtonOrder(), (std::array<int, 9>{1, 2, 3, 5, 6, 7, 8, 9, 4}));
  EXPECT_EQ(BandNumbered(BandButtonOrder().back())->text, "10");
}

}  // namespace
}  // namespace zeltra
