// libFuzzer: a settings file of any text, read, both windows' placements
// restored from it on a screen of two monitors, saved back and written out.
// Whatever was read, the written file reads back to itself, and a restored
// rectangle is one a window can take: not inverted, and on a monitor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings/IniDocument.h"
#include "core/settings/WindowSettings.h"

namespace {

bool Overlaps(const zeltra::Rect& a, const zeltra::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zeltra::IniDocument settings = zeltra::IniDocument::Parse(text);
  const zeltra::Screen screen{.width = 1600,
                              .height = 1200,
                              .pixelsPerInch = 96,
                              .monitors = {{0, 0, 1600, 1160}, {1600, 0, 2880, 1024}}};
  const zeltra::Rect designed{943, 201, 1343, 419};
  for (const auto& [section, sizeable] :
       {std::pair{"TfmMainForm", false}, std::pair{"TfmDomList", true}}) {
    zeltra::WindowSettings window(
        section, {.sizeable = sizeable, .showState = !sizeable, .currentBand = !sizeable});
    const zeltra::RestoredPlacement restored = window.Restore(settings, designed, screen);
    zeltra::Placement placement;
    if (restored.normal) {
      const zeltra::Rect& rect = *restored.normal;
      if (rect.right < rect.left || rect.bottom < rect.top) std::abort();
      bool onAMonitor = false;
      for (const zeltra::Rect& monitor : screen.monitors) onAMonitor |= Overlaps(rect, monitor);
      if (!onAMonitor) std::abort();
      placement.normal = rect;
    } else {
      placement.normal = designed;
    }
    (void)window.CurrentBandNumber();
    window.Save(settings, placement, screen, true);
  }
  const std::string written = settings.Serialize();
  if (zeltra::IniDocument::Parse(written).Serialize() != written) std::abort();
  return 0;
}
