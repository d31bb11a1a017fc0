#include "core/crosscheck/NearCalls.h"

#include <algorithm>
#include <functional>

namespace zeltra {
namespace {

std::size_t HashOf(std::string_view text) {
  return std::hash<std::string_view>{}(text);
}

// RTTY sends a letter and a figure on one key; a lost shift turns one into
// the other: 1/Q 2/W 3/E 4/R 5/T 6/Y 7/U 8/I 9/O 0/P.
constexpr std::string_view kLettersOfFigures = "PQWERTYUIO";
// What a call's unshifted key starts with, so that it is never taken for a
// call's own text or one made by leaving a character out.
constexpr char kUnshiftedMark = '\x01';

// The call with every figure read as the letter on its key.
std::string Unshifted(std::string_view call) {
  std::string text(1, kUnshiftedMark);
  for (const char c : call)
    text += c >= '0' && c <= '9' ? kLettersOfFigures[static_cast<std::size_t>(c - '0')] : c;
  return text;
}

// The hashes of call and of each text made by leaving one character out.
template <typename Each>
void ForEachKey(std::string_view call, std::string& scratch, Each each) {
  each(HashOf(call));
  each(HashOf(Unshifted(call)));
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

bool ShiftApart(std::string_view a, std::string_view b) {
  return a != b && a.size() == b.size() && Unshifted(a) == Unshifted(b);
}

bool OneSlipApart(std::string_view a, std::string_view b) {
  return OneEditApart(a, b) || ShiftApart(a, b);
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
      if (OneSlipApart(call, texts_[at->second])) near.push_back(at->second);
  });
  std::sort(near.begin(), near.end());
  near.erase(std::unique(near.begin(), near.end()), near.end());
  return near;
}

}  // namespace zeltra
