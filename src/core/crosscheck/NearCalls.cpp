#include "core/crosscheck/NearCalls.h"

#include <algorithm>
#include <functional>

namespace zeltra {
namespace {

std::size_t HashOf(std::string_view text) {
  return std::hash<std::string_view>{}(text);
}

// The hashes of call and of each text made by leaving one character out.
template <typename Each>
void ForEachKey(std::string_view call, std::string& scratch, Each each) {
  each(HashOf(call));
  for (std::size_t i = 0; i < call.size(); ++i) {
    scratch.assign(call.substr(0, i));
    scratch.append(call.substr(i + 1));
    each(HashOf(scratch));
  }
}

}  // namespace

bool OneEditApart(std::string_view a, std::string_view b) {
  if (a.size() < b.size()) std::swap(a, b);
  if (a.size() - b.size() > 1) return false;
  std::size_t i = 0;
  while (i < b.size() && a[i] == b[i]) ++i;
  if (a.size() > b.size()) return a.substr(i + 1) == b.substr(i);
  if (i == a.size()) return false;  // the same call
  if (a.substr(i + 1) == b.substr(i + 1)) return true;
  return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
         a.substr(i + 2) == b.substr(i + 2);
}

NearCallIndex::NearCallIndex(const std::vector<std::string_view>& texts) : texts_(texts) {
  std::string scratch;
  for (std::uint32_t id = 0; id < texts.size(); ++id)
    ForEachKey(texts[id], scratch, [&](std::size_t hash) { keys_.emplace_back(hash, id); });
  std::sort(keys_.begin(), keys_.end());
  keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
}

std::vector<std::uint32_t> NearCallIndex::Near(std::string_view call) const {
  std::vector<std::uint32_t> near;
  std::string scratch;
  ForEachKey(call, scratch, [&](std::size_t hash) {
    auto at = std::lower_bound(keys_.begin(), keys_.end(), std::make_pair(hash, std::uint32_t{0}));
    for (; at != keys_.end() && at->first == hash; ++at)
      if (OneEditApart(call, texts_[at->second])) near.push_back(at->second);
  });
  std::sort(near.begin(), near.end());
  near.erase(std::unique(near.begin(), near.end()), near.end());
  return near;
}

}  // namespace zeltra
