#include "core/settings/WindowSettings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/text/Number.h"

namespace zeltra {
namespace {

constexpr int kFormVersion = 0;

int ReadInt(const IniDocument& settings, std::string_view section, std::string_view name,
            int fallback) {
  const auto text = settings.Get(section, name);
  if (!text) return fallback;
  return NumberOf<int>(*text).value_or(fallback);
}

std::string SizeSuffix(const Screen& screen) {
  return "(" + std::to_string(screen.width) + "x" + std::to_string(screen.height) + ")";
}

// The text under the name with the screen-size suffix, or else under the
// plain name; none when both are missing or empty.
std::optional<std::string> ReadPosition(const IniDocument& settings, std::string_view section,
                                        const std::string& name, const Screen& screen) {
  for (const std::string& key : {name + SizeSuffix(screen), name}) {
    const auto text = settings.Get(section, key);
    if (text && !text->empty()) return text;
  }
  return std::nullopt;
}

// The first four words (split at commas and blanks) as integers, each
// missing or malformed one taking its default.
std::array<int, 4> FourIntegers(std::string_view text, const std::array<int, 4>& defaults) {
  std::array<int, 4> values = defaults;
  std::size_t index = 0;
  while (!text.empty() && index < values.size()) {
    const std::size_t start = text.find_first_not_of(", ");
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find_first_of(", "), text.size());
    if (const auto value = NumberOf<int>(text.substr(0, end))) values[index] = *value;
    ++index;
    text.remove_prefix(end);
  }
  return values;
}

std::string FourText(int a, int b, int c, int d) {
  return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
         std::to_string(d);
}

// The rectangle from left, top to right, bottom when it can be a window's:
// some width and some height, and every edge and both sizes numbers that
// the window system can hold. Computed wide, so that no stored number can
// overflow.
std::optional<Rect> WindowRect(std::int64_t left, std::int64_t top, std::int64_t right,
                               std::int64_t bottom) {
  constexpr std::int64_t kLowest = std::numeric_limits<int>::min();
  constexpr std::int64_t kHighest = std::numeric_limits<int>::max();
  const auto fits = [&](std::int64_t value) { return value >= kLowest && value <= kHighest; };
  if (!(left < right && top < bottom)) return std::nullopt;
  if (!fits(left) || !fits(top) || !fits(right) || !fits(bottom)) return std::nullopt;
  if (!fits(right - left) || !fits(bottom - top)) return std::nullopt;
  return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
              static_cast<int>(bottom)};
}

bool Intersects(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

WindowSettings::WindowSettings(std::string section, Options options)
    : section_(std::move(section)), options_(options) {}

RestoredPlacement WindowSettings::Restore(const IniDocument& settings, const Rect& current,
                                          const Screen& screen) {
  restored_ = true;
  RestoredPlacement result;
  if (ReadInt(settings, section_, "FormVersion", 0) < 0) return result;

  const auto minMaxText = ReadPosition(settings, section_, "MinMaxPos", screen);
  const auto normalText = ReadPosition(settings, section_, "NormPos", screen);
  const int pixelsPerInch = ReadInt(settings, section_, "PixelsPerInch", screen.pixelsPerInch);
  if ((minMaxText || normalText) && pixelsPerInch == screen.pixelsPerInch) {
    const auto stored = FourIntegers(normalText.value_or(""),
                                     {current.left, current.top, current.right, current.bottom});
    const std::optional<Rect> place =
        options_.sizeable
            ? WindowRect(stored[0], stored[1], stored[2], stored[3])
            : WindowRect(stored[0], stored[1],
                         std::int64_t{stored[0]} + (std::int64_t{current.right} - current.left),
                         std::int64_t{stored[1]} + (std::int64_t{current.bottom} - current.top));
    // A place on no monitor (one was removed, the file was edited) could
    // never be reached: the designed place serves instead.
    const bool onSomeMonitor =
        place && (screen.monitors.empty() ||
                  std::any_of(screen.monitors.begin(), screen.monitors.end(),
                              [&](const Rect& monitor) { return Intersects(*place, monitor); }));
    if (onSomeMonitor) result.normal = place;
  }

  if (options_.showState)
    result.maximized = ReadInt(settings, section_, "ShowCmd", 0) == kShowMaximized;
  if (options_.currentBand)
    currentBand_ = settings.Get(section_, "CurrentBand").value_or(currentBand_);
  return result;
}

void WindowSettings::Save(IniDocument& settings, const Placement& placement, const Screen& screen,
                          bool visible) {
  if (!restored_) return;
  const std::string suffix = SizeSuffix(screen);
  const std::string minMax = FourText(placement.minPosition.x, placement.minPosition.y,
                                      placement.maxPosition.x, placement.maxPosition.y);
  const std::string normal = FourText(placement.normal.left, placement.normal.top,
                                      placement.normal.right, placement.normal.bottom);
  std::vector<std::pair<std::string, std::string>> values = {
      {"FormVersion", std::to_string(kFormVersion)},
      {"Flags", std::to_string(placement.flags)},
      {"ShowCmd", std::to_string(placement.showCmd)},
      {"PixelsPerInch", std::to_string(screen.pixelsPerInch)},
      {"MinMaxPos" + suffix, minMax},
      {"MinMaxPos", minMax},
      {"NormPos" + suffix, normal},
      {"NormPos", normal},
      {"Visible", visible ? "1" : "0"},
  };
  if (options_.currentBand) values.emplace_back("CurrentBand", currentBand_);
  settings.Write(section_, values);
  restored_ = false;
}

std::optional<int> WindowSettings::CurrentBandNumber() const {
  return NumberOf<int>(currentBand_);
}

}  // namespace zeltra
