#include "core/logscore/CallRunDuplicates.h"

#include <algorithm>

namespace zeltra {

std::string CallRunDuplicates::KeyOf(std::string_view band, std::string_view mode) {
  // The band's length first, so that no two pairs run together into one key.
  std::string key = std::to_string(band.size());
  key += ':';
  key += band;
  key += mode;
  return key;
}

void CallRunDuplicates::Clear() {
  keys_.clear();
  // A fresh set rather than clear(), which would sweep the long run's
  // buckets again at every later call sign.
  if (!hashed_.empty()) hashed_ = std::unordered_set<std::string>();
}

bool CallRunDuplicates::Add(std::string_view band, std::string_view mode) {
  std::string key = KeyOf(band, mode);
  if (!hashed_.empty()) return hashed_.insert(std::move(key)).second;
  if (std::find(keys_.begin(), keys_.end(), key) != keys_.end()) return false;
  keys_.push_back(std::move(key));
  if (keys_.size() == kComparedOneByOne) {
    hashed_.insert(std::make_move_iterator(keys_.begin()), std::make_move_iterator(keys_.end()));
    keys_.clear();
  }
  return true;
}

}  // namespace zeltra
