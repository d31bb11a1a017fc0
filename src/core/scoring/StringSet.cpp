#include "scoring/StringSet.h"

#include "text/Ascii.h"

namespace zeltra {

bool StringSet::Contains(std::string_view text) const {
  return folded_.contains(AsciiUpper(text));
}

bool StringSet::Add(std::string_view text) {
  if (!folded_.insert(AsciiUpper(text)).second) return false;
  items_.emplace_back(text);
  return true;
}

void StringSet::Clear() {
  items_.clear();
  folded_.clear();
}

}  // namespace zeltra
