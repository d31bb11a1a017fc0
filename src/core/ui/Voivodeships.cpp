#include "core/ui/Voivodeships.h"

namespace zeltra {

std::array<int, 9> BandButtonOrder() {
  std::array<int, 9> order{};
  for (const Band& band : kBands)
    order[static_cast<std::size_t>(band.buttonPosition)] = band.number;
  return order;
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
