#include "core/ui/Geometry.h"

#include <cstdint>
#include <cstdlib>

namespace zeltra {

int ScaleToDpi(int designed, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(designed) * dpi;
  const std::int64_t half = kDesignDpi / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
  return static_cast<int>(rounded);
}

Rect ScaleToDpi(const Rect& designed, int dpi) {
  const int left = ScaleToDpi(designed.left, dpi);
  const int top = ScaleToDpi(designed.top, dpi);
  return {left, top, left + ScaleToDpi(designed.Width(), dpi),
          top + ScaleToDpi(designed.Height(), dpi)};
}

}  // namespace zeltra
