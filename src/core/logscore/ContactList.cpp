#include "core/logscore/ContactList.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>

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
  // Each contact's first eight call bytes, big-endian, its call's length
  // and its place, sorted side by side: most comparisons never touch the
  // texts. std::string_view compares as unsigned bytes
  // (char_traits<char>::compare), as the key does; equal calls keep their
  // log order by their place. The entries are first put in groups by
  // their first byte, in place, and each group sorted apart: smaller
  // sorts, and no second copy of the entries.
  struct Entry {
    std::uint64_t key;
    std::uint32_t index;
    std::uint32_t length;
  };
  constexpr std::size_t kKeyBytes = 8;
  constexpr std::size_t kByteValues = 256;
  constexpr unsigned kFirstByteShift = 56;
  std::vector<Entry> entries(size());
  std::array<std::size_t, kByteValues + 1> starts{};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view call = CallSignAt(i);
    std::uint64_t key = 0;
    for (std::size_t b = 0; b < kKeyBytes; ++b)
      key = (key << 8) | (b < call.size() ? static_cast<unsigned char>(call[b]) : 0u);
    entries[i] = {key, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(call.size())};
    ++starts[(key >> kFirstByteShift) + 1];
  }
  for (std::size_t group = 1; group < starts.size(); ++group) starts[group] += starts[group - 1];
  // Each entry swapped into its group's next free place until every
  // group holds only its own.
  std::array<std::size_t, kByteValues> next{};
  std::copy(starts.begin(), starts.end() - 1, next.begin());
  for (std::size_t group = 0; group < kByteValues; ++group)
    while (next[group] < starts[group + 1]) {
      const auto own = static_cast<std::size_t>(entries[next[group]].key >> kFirstByteShift);
      if (own == group)
        ++next[group];
      else
        std::swap(entries[next[group]], entries[next[own]++]);
    }
  const auto before = [&](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    if (a.length <= kKeyBytes && b.length <= kKeyBytes) {
      // The key holds both calls whole: the shorter first, then log order.
      if (a.length != b.length) return a.length < b.length;
      return a.index < b.index;
    }
    const int byText = CallSignAt(a.index).compare(CallSignAt(b.index));
    if (byText != 0) return byText < 0;
    return a.index < b.index;
  };
  for (std::size_t group = 0; group < kByteValues; ++group)
    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(starts[group]),
              entries.begin() + static_cast<std::ptrdiff_t>(starts[group + 1]), before);
  CallSignOrder order;
  order.indexes_.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) order.indexes_[i] = entries[i].index;
  return order;
}

}  // namespace zeltra
