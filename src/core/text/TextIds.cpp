#include "core/text/TextIds.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace zeltra {
namespace {

// Blocks grow from the first size to the largest, each twice the one
// before, so that a few texts (one log's calls) take little room and many
// take few blocks.
constexpr std::size_t kFirstBlockBytes = 1 << 10;
constexpr std::size_t kBlockBytes = 1 << 16;
constexpr std::size_t kFirstSlots = 64;  // a power of two

std::uint64_t HashOf(std::string_view text) {
  const auto hash = static_cast<std::uint64_t>(std::hash<std::string_view>{}(text));
  // Mixed, so that the slot (the low bits) and the fingerprint (the high
  // ones) each see the whole hash whatever its width.
  return (hash ^ (hash >> 29)) * 0xbf58476d1ce4e5b9ULL;
}

std::uint32_t FingerprintOf(std::uint64_t hash) {
  return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

std::string_view TextIds::Keep(std::string_view text) {
  if (text.size() > kBlockBytes) {
    // A text longer than a block gets one of its own, put before the block
    // being filled so that filling goes on where it was.
    auto own = std::make_unique<char[]>(text.size());
    std::memcpy(own.get(), text.data(), text.size());
    const std::string_view kept(own.get(), text.size());
    blocks_.insert(blocks_.end() - (blocks_.empty() ? 0 : 1), std::move(own));
    return kept;
  }
  if (blocks_.empty() || blockSize_ - blockUsed_ < text.size()) {
    const std::size_t size = std::max(
        text.size(), blocks_.empty() ? kFirstBlockBytes : std::min(2 * blockSize_, kBlockBytes));
    blocks_.push_back(std::make_unique<char[]>(size));
    blockUsed_ = 0;
    blockSize_ = size;
  }
  char* at = blocks_.back().get() + blockUsed_;
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  blockUsed_ += text.size();
  return {at, text.size()};
}

void TextIds::Grow() {
  // Twice the slots.
  const std::size_t count = std::max(kFirstSlots, 2 * slots_.size());
  std::vector<std::uint64_t> slots(count, 0);
  const std::size_t mask = slots.size() - 1;
  for (std::size_t id = 0; id < views_.size(); ++id) {
    const std::uint64_t hash = HashOf(views_[id]);
    std::size_t at = static_cast<std::size_t>(hash) & mask;
    while (slots[at] != 0) at = (at + 1) & mask;
    slots[at] = (std::uint64_t{FingerprintOf(hash)} << 32) | (id + 1);
  }
  slots_ = std::move(slots);
}

std::vector<std::uint32_t> TextIds::IdsOf(const TextIds& other) {
  std::vector<std::uint32_t> ids;
  ids.reserve(other.size());
  for (const std::string_view text : other.texts()) ids.push_back(IdOf(text));
  return ids;
}

std::size_t TextIds::SlotOf(std::string_view text, std::uint64_t hash) const {
  const std::uint32_t fingerprint = FingerprintOf(hash);
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = static_cast<std::size_t>(hash) & mask;
  for (; slots_[at] != 0; at = (at + 1) & mask) {
    const std::uint64_t slot = slots_[at];
    if (static_cast<std::uint32_t>(slot >> 32) == fingerprint &&
        views_[static_cast<std::uint32_t>(slot - 1)] == text)
      break;
  }
  return at;
}

std::optional<std::uint32_t> TextIds::Find(std::string_view text) const {
  if (slots_.empty()) return std::nullopt;
  const std::uint64_t slot = slots_[SlotOf(text, HashOf(text))];
  if (slot == 0) return std::nullopt;
  return static_cast<std::uint32_t>(slot - 1);
}

std::uint32_t TextIds::IdOf(std::string_view text) {
  // At most half the slots full, so that a probe ends soon.
  if (2 * (views_.size() + 1) > slots_.size()) Grow();
  const std::uint64_t hash = HashOf(text);
  const std::size_t at = SlotOf(text, hash);
  if (slots_[at] != 0) return static_cast<std::uint32_t>(slots_[at] - 1);
  const auto id = static_cast<std::uint32_t>(views_.size());
  views_.push_back(Keep(text));
  slots_[at] = (std::uint64_t{FingerprintOf(hash)} << 32) | (std::uint64_t{id} + 1);
  return id;
}

}  // namespace zeltra
