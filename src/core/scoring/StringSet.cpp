#include "core/scoring/StringSet.h"

namespace zeltra {

bool StringSet::Contains(std::string_view text) const {
  return index_.contains(text);
}

bool StringSet::Add(std::string_view text) {
  if (index_.contains(text)) return false;
  index_.emplace(text);
  items_.emplace_back(text);
  return true;
}

void StringSet::Clear() {
  items_.clear();
  index_.clear();
}

}  // namespace zeltra
