#include "organiser/files/ReportNames.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/text/Ascii.h"

namespace zeltra::organiser {
namespace {

// Well under every system's limit on a name, with room for a count.
constexpr std::size_t kLongestStem = 64;

// Names Windows takes for devices, with any extension.
constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                      "NUL", "CONIN$", "CONOUT$"};
constexpr std::array<std::string_view, 2> kNumberedDevices = {"COM", "LPT"};

bool StandsAsItIs(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

bool IsDeviceName(std::string_view stem) {
  const std::string upper = AsciiUpper(stem);
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
  for (const std::string_view device : kNumberedDevices)
    if (upper.size() == device.size() + 1 && upper.rfind(device, 0) == 0 && upper.back() >= '0' &&
        upper.back() <= '9')
      return true;
  return false;
}

}  // namespace

std::string ReportNames::For(std::string_view call, std::string_view extension) {
  std::string stem;
  for (const char c : call) {
    if (StandsAsItIs(c)) {
      stem += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "_%02X", static_cast<unsigned char>(c));
      stem += escaped;
    }
    if (stem.size() >= kLongestStem) break;
  }
  if (stem.size() > kLongestStem) stem.resize(kLongestStem);
  if (stem.empty() || IsDeviceName(stem)) stem += '_';
  std::string name = stem + std::string(extension);
  for (std::size_t count = 2; !given_.insert(AsciiUpper(name)).second; ++count)
    name = stem + "~" + std::to_string(count) + std::string(extension);
  return name;
}

}  // namespace zeltra::organiser
