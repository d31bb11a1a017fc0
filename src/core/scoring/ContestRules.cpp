#include "core/scoring/ContestRules.h"

#include <algorithm>

#include "core/text/Ascii.h"

namespace zeltra {

std::optional<Band> BandNumbered(int band) {
  if (band < kFirstBand || band > kLastBand) return std::nullopt;
  return kBands[static_cast<std::size_t>(band - kFirstBand)];
}

std::optional<Band> BandToShow(std::string_view text) {
  const std::string_view trimmed = TrimControlAndBlank(text);
  if (trimmed.empty()) return std::nullopt;
  for (const Band& band : kBands)
    if (band.text == trimmed) return band;
  return std::nullopt;
}

std::optional<char> VoivodeshipLetterOf(std::string_view report) {
  const std::string_view trimmed = TrimControlAndBlank(report);
  if (trimmed.empty()) return std::nullopt;
  const char last = AsciiUpper(trimmed.back());
  if (std::find(kVoivodeshipLetters.begin(), kVoivodeshipLetters.end(), last) ==
      kVoivodeshipLetters.end())
    return std::nullopt;
  return last;
}

std::int32_t PointsFor(std::string_view dxccPrefix, std::string_view continent,
                       std::string_view myDxccPrefix, std::string_view myContinent) {
  if (EqualsIgnoringAsciiCase(dxccPrefix, myDxccPrefix)) return kOwnCountryPoints;
  if (EqualsIgnoringAsciiCase(continent, myContinent)) return kOwnContinentPoints;
  return kOtherContinentPoints;
}

std::string BandKey(std::string_view band, std::string_view item) {
  std::string key;
  key.reserve(band.size() + item.size() + 2);
  key += band;
  key += '|';
  key += item;
  key += '|';
  return key;
}

}  // namespace zeltra
