#include "core/ui/StatisticsLayout.h"

#include <gtest/gtest.h>

#include "core/ui/ButtonImages.h"

namespace zeltra {
namespace {

namespace layout = statistics_layout;

TEST(StatisticsLayout, CellsAre64By17BehindOnePixelGridLines) {
  struct Case {
    std::size_t column, row;
    int dpi;
    Rect cell;
  };
  const Case cases[] = {
      {0, 0, 96, {0, 0, 64, 17}},       {1, 0, 96, {65, 0, 129, 17}},
      {5, 7, 96, {325, 126, 389, 143}}, {0, 1, 96, {0, 18, 64, 35}},
      {1, 1, 144, {97, 27, 193, 53}},   {5, 7, 120, {405, 154, 485, 175}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.column << "," << c.row << " at " << c.dpi);
    EXPECT_EQ(layout::CellRect(c.column, c.row, c.dpi), c.cell);
  }
  // At the design size the cells and their lines fill the grid's client
  // area inside its 2-pixel edge: 390 = 6 x 65, and 8 x 18 = 144 of 145.
  const Rect last = layout::CellRect(layout::kGridColumns - 1, layout::kGridRows - 1, 96);
  EXPECT_EQ(last.right + layout::kGridLineWidth, layout::kGrid.Width() - 2 * layout::kGridEdge);
  EXPECT_LE(last.bottom + layout::kGridLineWidth, layout::kGrid.Height() - 2 * layout::kGridEdge);
}

TEST(StatisticsLayout, TextIsCentredByIntegerDivisionAtTheTop) {
  const Rect cell{65, 18, 129, 35};  // 64 wide
  struct Case {
    int textWidth;
    int x;
  };
  const Case cases[] = {
      {0, 97},    // an empty text sits in the middle
      {20, 87},   // 65 + 32 - 10
      {21, 87},   // 21 div 2 = 10
      {64, 65},   // exactly as wide as the cell
      {66, 64},   // wider: starts left of the cell's left edge
      {101, 47},  // 65 + 32 - 50
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.textWidth);
    EXPECT_EQ(layout::CellTextOrigin(cell, c.textWidth), (layout::Point{c.x, 18}));
  }
  // An odd cell width: (63 div 2) = 31, rounding toward zero.
  EXPECT_EQ(layout::CellTextOrigin(Rect{0, 0, 63, 17}, 10).x, 26);
  // Toward zero also left of the screen's origin.
  EXPECT_EQ(layout::CellTextOrigin(Rect{-10, 0, -3, 17}, 3).x, -8);
}

TEST(StatisticsLayout, DesignedSizesScaleWithPixelsPerInch) {
  EXPECT_EQ(ScaleToDpi(394, 96), 394);
  EXPECT_EQ(ScaleToDpi(394, 144), 591);
  EXPECT_EQ(ScaleToDpi(193, 120), 241);  // 241.25
  EXPECT_EQ(ScaleToDpi(17, 120), 21);    // 21.25
  EXPECT_EQ(ScaleToDpi(13, 120), 16);    // 16.25
  EXPECT_EQ(ScaleToDpi(-3, 144), -5);    // -4.5 rounds away from zero
  EXPECT_EQ(ScaleToDpi(layout::kRecalcButton, 192), (Rect{368, 334, 572, 384}));
  // Position and size scale each on their own: 167 -> 251 (250.5), 25 -> 38 (37.5).
  EXPECT_EQ(ScaleToDpi(layout::kRecalcButton, 144), (Rect{276, 251, 429, 289}));
}

TEST(ButtonImages, EveryPixelIsTransparentOrAKnownColour) {
  for (const PixelImage* image : {&kRecalcImage, &kVoivodeshipImage}) {
    int opaque = 0;
    for (std::string_view row : *image) {
      ASSERT_EQ(row.size(), 16u);
      for (char pixel : row) {
        if (pixel == '.') continue;
        EXPECT_TRUE(PixelColour(pixel).has_value()) << pixel;
        ++opaque;
      }
    }
    EXPECT_GT(opaque, 40);
  }
}

TEST(Colour, ShadeStaysWithinEachChannel) {
  EXPECT_EQ(Shade(RgbColour(157, 157, 157), kHotLighten), RgbColour(197, 197, 197));
  EXPECT_EQ(Shade(RgbColour(250, 10, 128), 40), RgbColour(255, 50, 168));
  EXPECT_EQ(Shade(RgbColour(250, 10, 128), -30), RgbColour(220, 0, 98));
}

}  // namespace
}  // namespace zeltra
