#pragma once

namespace zeltra {

// A rectangle in pixels: left and top inside, right and bottom just outside,
// as the window system counts them.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// A length designed at 96 logical pixels per inch, at another setting: the
// window system's MulDiv rounding (half away from zero).
int ScaleToDpi(int designed, int dpi);
// A rectangle's position and size, each scaled as a length, as a desktop
// program scales its controls.
Rect ScaleToDpi(const Rect& designed, int dpi);

inline constexpr int kDesignDpi = 96;

}  // namespace zeltra
