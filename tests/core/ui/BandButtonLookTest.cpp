#include "core/ui/BandButtonLook.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(BandButtonLook, StatesAndTheirLooks) {
  using enum ButtonFill;
  struct Case {
    const char* name;
    BandButtonState state;
    BandButtonLook look;
  };
  const Case cases[] = {
      {"up", {}, {kFace, false, false, false}},
      {"up, pointer over it", {.hot = true}, {kHot, false, true, false}},
      {"held in", {.pushed = true, .hot = true}, {kHot, true, true, false}},
      {"up with the focus", {.focused = true}, {kFace, false, false, true}},
      {"down", {.down = true}, {kDownPattern, true, false, false}},
      {"down, pointer over it", {.down = true, .hot = true}, {kDownPattern, true, true, false}},
      {"down with the focus", {.down = true, .focused = true}, {kDownPattern, true, false, true}},
      {"designed down: no pattern, no focus rectangle",
       {.down = true, .focused = true, .designedDown = true},
       {kFace, true, false, false}},
      {"designed down, pointer over it",
       {.down = true, .hot = true, .designedDown = true},
       {kHot, true, true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LookOf(c.state), c.look);
  }
}

}  // namespace
}  // namespace zeltra
