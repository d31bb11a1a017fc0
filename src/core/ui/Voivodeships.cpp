#include "core/ui/Voivodeships.h"

#include <string>

#include "core/text/Ascii.h"

namespace zeltra {

std::optional<std::string_view> BandText(int band) {
  if (band < kFirstBand || band > kLastBand) return std::nullopt;
  return kBandNames[static_cast<std::size_t>(band - kFirstBand)];
}

std::optional<int> BandNumberToShow(std::string_view band) {
  const std::string_view trimmed = TrimControlAndBlank(band);
  if (trimmed.empty()) return std::nullopt;
  for (int number = kFirstBand; number <= kLastBand; ++number)
    if (*BandText(number) == trimmed) return number;
  return std::nullopt;
}

LetterMark MarkOf(const StringSet& voivList, std::string_view band, char letter) {
  std::string search(band);
  search += '|';
  search += letter;
  search += '|';
  LetterMark mark = LetterMark::kListDefault;
  for (const std::string& entry : voivList.Items()) {
    if (entry.find(search) != std::string::npos) return LetterMark::kWorked;
    mark = LetterMark::kNotWorked;
  }
  return mark;
}

std::array<Rect, 9> BandButtonLayout(int panelWidth, int panelHeight) {
  std::array<Rect, 9> places{};
  const int count = static_cast<int>(places.size());
  if (panelWidth <= 0) return places;
  const int width = panelWidth / count;
  const int height = panelHeight - 1;
  for (int k = 0; k < count; ++k)
    places[static_cast<std::size_t>(k)] = {k * width, 0, k * width + width, height};
  Rect& last = places.back();
  last.right = last.left + (panelWidth - count * width + width - 4);
  return places;
}

}  // namespace zeltra
