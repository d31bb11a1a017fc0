#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/IniDocument.h"
#include "core/ui/Geometry.h"

namespace zeltra {

struct Point2 {
  int x = 0;
  int y = 0;
  bool operator==(const Point2&) const = default;
};

// A window's placement as the window system reports it: rectangles and
// points in its placement coordinates (relative to the work area).
struct Placement {
  int flags = 0;
  int showCmd = 1;
  Point2 minPosition;
  Point2 maxPosition;
  Rect normal;  // outer frame, not minimized or maximized
};

// The screen the settings are saved or restored on.
struct Screen {
  int width = 0;
  int height = 0;
  int pixelsPerInch = 96;
  std::vector<Rect> monitors;  // work areas, in placement coordinates
};

inline constexpr int kShowNormal = 1;
inline constexpr int kShowMaximized = 3;

// What restoring one window's section gives.
struct RestoredPlacement {
  std::optional<Rect> normal;  // where to put the window; none: keep the designed place
  bool maximized = false;
};

// A window's persisted placement (and, for the statistics window, the
// stored value CurrentBand) in its own section of the settings.
class WindowSettings {
 public:
  struct Options {
    bool sizeable = false;     // the window takes a stored size as well as a position
    bool showState = false;    // the window restores its show state (maximized)
    bool currentBand = false;  // the window keeps the stored value CurrentBand
  };

  // section: the window's class name as the settings file names it.
  WindowSettings(std::string section, Options options);

  // Reads the section. current: the window's designed normal rectangle.
  RestoredPlacement Restore(const IniDocument& settings, const Rect& current, const Screen& screen);

  // Writes the section, only if Restore ran since the last save.
  // visible: true at destruction, false at closing.
  void Save(IniDocument& settings, const Placement& placement, const Screen& screen, bool visible);

  bool restored() const { return restored_; }

  // CurrentBand as held between restore and save: text as stored.
  const std::string& CurrentBand() const { return currentBand_; }
  void SetCurrentBand(int band) { currentBand_ = std::to_string(band); }
  // The stored band as a number; none when it is not a decimal integer.
  std::optional<int> CurrentBandNumber() const;

 private:
  std::string section_;
  Options options_;
  bool restored_ = false;
  std::string currentBand_ = "0";
};

}  // namespace zeltra
