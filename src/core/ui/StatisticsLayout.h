#pragma once

#include <cstddef>
#include <cstdint>

#include "core/ui/Colour.h"
#include "core/ui/Geometry.h"

namespace zeltra {

// The statistics window as designed at 96 logical pixels per inch, and the
// arithmetic that places what it shows. Everything here is in client pixels.
namespace statistics_layout {

inline constexpr int kClientWidth = 394;
inline constexpr int kClientHeight = 193;
inline constexpr int kDesignedLeft = 943;
inline constexpr int kDesignedTop = 201;

// Panel1: docked to the bottom, full width, silver, no bevel.
inline constexpr Rect kPanel{0, 149, 394, 193};
inline constexpr Colour kPanelColour = RgbColour(192, 192, 192);

// The score line, at 8, 0 in the panel; it sizes itself to its text.
inline constexpr int kScoreLineLeft = 8;
inline constexpr int kScoreLineTop = 149;
inline constexpr Colour kScoreLineColour = RgbColour(0, 0, 255);
inline constexpr int kScoreLineFontHeight = 13;  // character height, bold, fixed pitch

// The buttons "Recalc" and "Voivodeship", at 184, 18 and 288, 18 in
// the panel.
inline constexpr Rect kRecalcButton{184, 167, 286, 192};
inline constexpr Rect kVoivodeshipButton{288, 167, 390, 192};
inline constexpr Colour kButtonFaceColour = 10329501;  // red, green and blue 157

// The grid: the rest of the client area, with a 2-pixel sunken edge
// around 6 x 8 cells of 64 x 17 pixels and 1-pixel grid lines.
inline constexpr Rect kGrid{0, 0, 394, 149};
inline constexpr int kGridEdge = 2;
inline constexpr std::size_t kGridColumns = 6;
inline constexpr std::size_t kGridRows = 8;
inline constexpr int kColumnWidth = 64;
inline constexpr int kRowHeight = 17;
inline constexpr int kGridLineWidth = 1;
inline constexpr Colour kGridColour = 13565949;  // red 253, green 255, blue 206
inline constexpr Colour kGridLineColour = RgbColour(192, 192, 192);

inline constexpr int kFontHeight = 11;  // "MS Sans Serif", window and grid

// Cell (column, row) of the grid without its grid lines, in the grid's
// client coordinates, at the given pixels per inch.
Rect CellRect(std::size_t column, std::size_t row, int dpi);

// Where a text of textWidth pixels starts in cell: centred horizontally by
// integer division, at the cell's top. A text wider than its cell starts
// left of the cell's left edge.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};
Point CellTextOrigin(const Rect& cell, int textWidth);

}  // namespace statistics_layout
}  // namespace zeltra
