#include "core/logscore/ContactList.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace zeltra {
namespace {

constexpr std::size_t kTexts = 6;
constexpr std::size_t kMaxText = 255;

}  // namespace

void ContactList::Add(std::size_t position, const Contact& contact) {
  const std::array<const std::string*, kTexts> texts = {
      &contact.callSign,  &contact.band,       &contact.mode,
      &contact.continent, &contact.dxccPrefix, &contact.reportReceived};
  if (texts_.size() > UINT32_MAX - kTexts * (kMaxText + 1))
    throw std::length_error("The log holds more contacts than can be kept");
  offsets_.push_back(static_cast<std::uint32_t>(texts_.size()));
  positions_.push_back(static_cast<std::uint32_t>(std::min<std::size_t>(position, UINT32_MAX)));
  // The contact's bytes are made room for once and copied in.
  std::array<std::size_t, kTexts> lengths{};
  std::size_t bytes = kTexts;
  for (std::size_t i = 0; i < kTexts; ++i) {
    lengths[i] = std::min(texts[i]->size(), kMaxText);
    bytes += lengths[i];
  }
  std::size_t at = texts_.size();
  texts_.resize(at + bytes);
  char* const out = texts_.data();
  for (std::size_t i = 0; i < kTexts; ++i) out[at++] = static_cast<char>(lengths[i]);
  for (std::size_t i = 0; i < kTexts; ++i) {
    std::memcpy(out + at, texts[i]->data(), lengths[i]);
    at += lengths[i];
  }
}

Contact ContactList::At(std::size_t index) const {
  const char* at = texts_.data() + offsets_[index];
  std::array<std::string_view, kTexts> texts;
  std::size_t offset = kTexts;
  for (std::size_t i = 0; i < kTexts; ++i) {
    const auto length = static_cast<unsigned char>(at[i]);
    texts[i] = std::string_view(at + offset, length);
    offset += length;
  }
  return {std::string(texts[0]), std::string(texts[1]), std::string(texts[2]),
          std::string(texts[3]), std::string(texts[4]), std::string(texts[5])};
}

std::string_view ContactList::CallSignAt(std::size_t index) const {
  const char* at = texts_.data() + offsets_[index];
  return {at + kTexts, static_cast<unsigned char>(at[0])};
}

std::vector<std::uint32_t> ContactList::InLogOrder() const {
  std::vector<std::uint32_t> order(size());
  std::iota(order.begin(), order.end(), 0u);
  return order;
}

void ContactList::PrefetchPlace(std::size_t index) const {
#if defined(__GNUC__)
  __builtin_prefetch(offsets_.data() + index);
  __builtin_prefetch(positions_.data() + index);
#else
  (void)index;
#endif
}

void ContactList::PrefetchTexts(std::size_t index) const {
#if defined(__GNUC__)
  __builtin_prefetch(texts_.data() + offsets_[index]);
#else
  (void)index;
#endif
}

CallSignOrder ContactList::ByCallSign() const {
  // Each contact's first eight call bytes, big-endian, beside its place,
  // sorted a byte at a time from the last (a radix sort, stable: equal keys
  // keep their log order). Calls longer than the key, or of one key but
  // not one length, are then put in order by their texts within their
  // key. std::string_view compares as unsigned bytes
  // (char_traits<char>::compare), as the key does.
  struct Entry {
    std::uint64_t key;
    std::uint32_t index;
    std::uint32_t length;
  };
  constexpr std::size_t kKeyBytes = 8;
  constexpr std::size_t kByteValues = 256;
  std::vector<Entry> entries(size());
  std::array<std::array<std::size_t, kByteValues>, kKeyBytes> counts{};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view call = CallSignAt(i);
    std::uint64_t key = 0;
    for (std::size_t b = 0; b < kKeyBytes; ++b)
      key = (key << 8) | (b < call.size() ? static_cast<unsigned char>(call[b]) : 0u);
    entries[i] = {key, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(call.size())};
    for (std::size_t b = 0; b < kKeyBytes; ++b) ++counts[b][(key >> (8 * b)) & 0xFF];
  }
  std::vector<Entry> sorted(entries.size());
  for (std::size_t b = 0; b < kKeyBytes; ++b) {
    std::array<std::size_t, kByteValues>& starts = counts[b];
    // A byte every call shares orders nothing.
    if (std::find(starts.begin(), starts.end(), entries.size()) != starts.end()) continue;
    std::size_t start = 0;
    for (std::size_t& count : starts) start += std::exchange(count, start);
    for (const Entry& entry : entries) sorted[starts[(entry.key >> (8 * b)) & 0xFF]++] = entry;
    entries.swap(sorted);
  }
  const auto byText = [&](const Entry& a, const Entry& b) {
    return CallSignAt(a.index).compare(CallSignAt(b.index)) < 0;
  };
  for (std::size_t first = 0; first < entries.size();) {
    std::size_t end = first + 1;
    bool byTexts = entries[first].length > kKeyBytes;
    for (; end < entries.size() && entries[end].key == entries[first].key; ++end)
      byTexts = byTexts || entries[end].length != entries[first].length;
    if (byTexts)
      std::stable_sort(entries.begin() + static_cast<std::ptrdiff_t>(first),
                       entries.begin() + static_cast<std::ptrdiff_t>(end), byText);
    first = end;
  }
  CallSignOrder order;
  order.indexes_.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) order.indexes_[i] = entries[i].index;
  return order;
}

}  // namespace zeltra
