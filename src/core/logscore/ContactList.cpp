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

// A list's first block is a few dozen contacts' bytes; each next one twice
// the last, up to a megabyte: a small log costs little, and a large one
// never copies what it holds to grow.
constexpr std::size_t kFirstBlock = 4096;
constexpr std::size_t kLargestBlock = std::size_t{1} << ContactList::kBlockBits;
constexpr std::size_t kMostBlocks = std::size_t{1} << (32 - ContactList::kBlockBits);
static_assert(kTexts * (kMaxText + 1) <= kFirstBlock, "a contact fits in any block");

}  // namespace

void ContactList::Add(std::size_t position, const Contact& contact) {
  const std::array<const std::string*, kTexts> texts = {
      &contact.callSign,  &contact.band,       &contact.mode,
      &contact.continent, &contact.dxccPrefix, &contact.reportReceived};
  std::array<std::size_t, kTexts> lengths{};
  std::size_t bytes = kTexts;
  for (std::size_t i = 0; i < kTexts; ++i) {
    lengths[i] = std::min(texts[i]->size(), kMaxText);
    bytes += lengths[i];
  }
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < bytes) {
    if (blocks_.size() == kMostBlocks)
      throw std::length_error("The log holds more contacts than can be kept");
    const std::size_t room =
        blocks_.empty() ? kFirstBlock : std::min(2 * blocks_.back().capacity(), kLargestBlock);
    blocks_.emplace_back().reserve(room);
  }
  std::string& block = blocks_.back();
  offsets_.push_back(
      static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | block.size()));
  positions_.push_back(static_cast<std::uint32_t>(std::min<std::size_t>(position, UINT32_MAX)));
  // The contact's bytes are made room for once and copied in.
  std::size_t at = block.size();
  block.resize(at + bytes);
  char* const out = block.data();
  for (std::size_t i = 0; i < kTexts; ++i) out[at++] = static_cast<char>(lengths[i]);
  for (std::size_t i = 0; i < kTexts; ++i) {
    std::memcpy(out + at, texts[i]->data(), lengths[i]);
    at += lengths[i];
  }
}

void ContactList::Join(ContactList&& later, std::size_t renumberBy) {
  if (blocks_.size() + later.blocks_.size() > kMostBlocks)
    throw std::length_error("The log holds more contacts than can be kept");
  // This list's last block is given no more: only its bytes are kept.
  if (!blocks_.empty()) blocks_.back().shrink_to_fit();
  const auto movedBy = static_cast<std::uint32_t>(blocks_.size() << kBlockBits);
  for (std::string& block : later.blocks_) blocks_.push_back(std::move(block));
  later.blocks_.clear();
  offsets_.reserve(offsets_.size() + later.offsets_.size());
  for (const std::uint32_t offset : later.offsets_) offsets_.push_back(offset + movedBy);
  positions_.reserve(positions_.size() + later.positions_.size());
  for (const std::uint32_t position : later.positions_)
    positions_.push_back(
        static_cast<std::uint32_t>(std::min<std::size_t>(position + renumberBy, UINT32_MAX)));
}

void ContactList::ShrinkToFit() {
  if (!blocks_.empty()) blocks_.back().shrink_to_fit();
  offsets_.shrink_to_fit();
  positions_.shrink_to_fit();
}

const char* ContactList::TextsAt(std::size_t index) const {
  const std::uint32_t offset = offsets_[index];
  return blocks_[offset >> kBlockBits].data() + (offset & (kLargestBlock - 1));
}

Contact ContactList::At(std::size_t index) const {
  const char* at = TextsAt(index);
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
  const char* at = TextsAt(index);
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
  __builtin_prefetch(TextsAt(index));
#else
  (void)index;
#endif
}

CallSignOrder ContactList::ByCallSign() const {
  // Each contact's first eight call bytes, big-endian, as a key beside its
  // place: most calls are told apart by their keys alone. The entries are
  // put in groups by the key's first byte, in place; each group is sorted
  // by the other seven a byte at a time from the last (a radix sort,
  // through a buffer as large as the largest group); then each run of one
  // key by the calls' texts and places. std::string_view compares as
  // unsigned bytes (char_traits<char>::compare), as the key does; equal
  // calls keep their log order by their place.
  struct Entry {
    std::uint32_t high;  // the key's first four bytes
    std::uint32_t low;   // its last four
    std::uint32_t index;
    std::uint32_t Byte(std::size_t b) const {  // b: 0 the key's last byte, 7 its first
      return ((b < 4 ? low >> (8 * b) : high >> (8 * (b - 4)))) & 0xFF;
    }
  };
  constexpr std::size_t kKeyBytes = 8;
  constexpr std::size_t kHalfBytes = 4;
  constexpr std::size_t kByteValues = 256;
  constexpr std::size_t kFirstByte = kKeyBytes - 1;
  std::vector<Entry> entries(size());
  std::array<std::size_t, kByteValues + 1> starts{};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view call = CallSignAt(i);
    std::array<std::uint32_t, 2> halves{};
    for (std::size_t b = 0; b < kKeyBytes; ++b)
      halves[b / kHalfBytes] = (halves[b / kHalfBytes] << 8) |
                               (b < call.size() ? static_cast<unsigned char>(call[b]) : 0u);
    entries[i] = {halves[0], halves[1], static_cast<std::uint32_t>(i)};
    ++starts[entries[i].Byte(kFirstByte) + 1];
  }
  for (std::size_t group = 1; group < starts.size(); ++group) starts[group] += starts[group - 1];
  // Each entry swapped into its group's next free place until every
  // group holds only its own.
  std::array<std::size_t, kByteValues> next{};
  std::copy(starts.begin(), starts.end() - 1, next.begin());
  for (std::size_t group = 0; group < kByteValues; ++group)
    while (next[group] < starts[group + 1]) {
      const std::uint32_t own = entries[next[group]].Byte(kFirstByte);
      if (own == group)
        ++next[group];
      else
        std::swap(entries[next[group]], entries[next[own]++]);
    }
  const auto byText = [&](const Entry& a, const Entry& b) {
    const int order = CallSignAt(a.index).compare(CallSignAt(b.index));
    return order != 0 ? order < 0 : a.index < b.index;
  };
  std::size_t largest = 0;
  for (std::size_t group = 0; group < kByteValues; ++group)
    largest = std::max(largest, starts[group + 1] - starts[group]);
  std::vector<Entry> buffer(largest);
  for (std::size_t group = 0; group < kByteValues; ++group) {
    const std::size_t size = starts[group + 1] - starts[group];
    if (size < 2) continue;
    Entry* const begin = entries.data() + starts[group];
    std::array<std::array<std::size_t, kByteValues>, kFirstByte> counts{};
    for (std::size_t i = 0; i < size; ++i)
      for (std::size_t b = 0; b < kFirstByte; ++b) ++counts[b][begin[i].Byte(b)];
    Entry* from = begin;
    Entry* to = buffer.data();
    for (std::size_t b = 0; b < kFirstByte; ++b) {
      std::array<std::size_t, kByteValues>& places = counts[b];
      // A byte every call of the group shares orders nothing.
      if (std::find(places.begin(), places.end(), size) != places.end()) continue;
      std::size_t place = 0;
      for (std::size_t& count : places) {
        const std::size_t here = count;
        count = place;
        place += here;
      }
      for (std::size_t i = 0; i < size; ++i) to[places[from[i].Byte(b)]++] = from[i];
      std::swap(from, to);
    }
    if (from != begin) std::copy(from, from + size, begin);
    for (Entry* run = begin; run != begin + size;) {
      Entry* past = run + 1;
      while (past != begin + size && past->high == run->high && past->low == run->low) ++past;
      if (past - run > 1) std::sort(run, past, byText);
      run = past;
    }
  }
  buffer = {};  // given back before the order is made beside the entries
  CallSignOrder order;
  order.indexes_.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) order.indexes_[i] = entries[i].index;
  return order;
}

}  // namespace zeltra
