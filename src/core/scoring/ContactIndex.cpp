#include "core/scoring/ContactIndex.h"

#include <algorithm>
#include <stdexcept>

namespace zeltra {
namespace {

constexpr std::size_t kInitialSlots = 1024;  // a power of two
constexpr std::size_t kMaxTextLength = 255;

// FNV-1a over the three texts, each preceded by its length so that no two
// different contacts run together into the same byte stream.
std::uint64_t Fnv1a(std::uint64_t hash, std::string_view text) {
  constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  hash = (hash ^ static_cast<unsigned char>(text.size())) * kPrime;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * kPrime;
  return hash;
}

bool Equal(const ContactKey& a, const ContactKey& b) {
  return a.callSign == b.callSign && a.band == b.band && a.mode == b.mode;
}

}  // namespace

std::uint64_t ContactIndex::HashOf(const ContactKey& contact) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  hash = Fnv1a(hash, contact.callSign);
  hash = Fnv1a(hash, contact.band);
  hash = Fnv1a(hash, contact.mode);
  return hash ^ (hash >> 29);
}

ContactKey ContactIndex::ContactAt(std::uint32_t offset) const {
  const char* at = texts_.data() + offset;
  const auto callLength = static_cast<unsigned char>(at[0]);
  const auto bandLength = static_cast<unsigned char>(at[1]);
  const auto modeLength = static_cast<unsigned char>(at[2]);
  at += 3;
  return {std::string_view(at, callLength), std::string_view(at + callLength, bandLength),
          std::string_view(at + callLength + bandLength, modeLength)};
}

std::size_t ContactIndex::FindSlot(const ContactKey& contact, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const auto fingerprint = static_cast<std::uint32_t>(hash >> 32);
  for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
    const Slot& candidate = slots_[slot];
    if (candidate.offsetPlusOne == 0) return slot;
    if (candidate.fingerprint == fingerprint &&
        Equal(ContactAt(candidate.offsetPlusOne - 1), contact))
      return slot;
  }
}

bool ContactIndex::Contains(const ContactKey& contact) const {
  if (count_ == 0) return false;
  return slots_[FindSlot(contact, HashOf(contact))].offsetPlusOne != 0;
}

bool ContactIndex::Add(const ContactKey& contact) {
  for (const std::string_view text : {contact.callSign, contact.band, contact.mode})
    if (text.size() > kMaxTextLength) throw std::length_error("Contact text over 255 bytes");
  if (slots_.size() < 2 * (count_ + 1)) Rebuild(slots_.empty() ? kInitialSlots : 2 * slots_.size());

  const std::uint64_t hash = HashOf(contact);
  Slot& slot = slots_[FindSlot(contact, hash)];
  if (slot.offsetPlusOne != 0) return false;

  const std::size_t offset = texts_.size();
  texts_ += static_cast<char>(contact.callSign.size());
  texts_ += static_cast<char>(contact.band.size());
  texts_ += static_cast<char>(contact.mode.size());
  texts_ += contact.callSign;
  texts_ += contact.band;
  texts_ += contact.mode;
  slot = {static_cast<std::uint32_t>(hash >> 32), static_cast<std::uint32_t>(offset + 1)};
  ++count_;
  return true;
}

void ContactIndex::Reserve(std::size_t contacts) {
  std::size_t slots = slots_.empty() ? kInitialSlots : slots_.size();
  while (slots < 2 * contacts) slots *= 2;
  if (slots > slots_.size()) Rebuild(slots);
}

void ContactIndex::Clear() {
  // Keeps the index's size: a reload refills the list to about what it held.
  texts_.clear();
  std::fill(slots_.begin(), slots_.end(), Slot{});
  count_ = 0;
}

void ContactIndex::Rebuild(std::size_t slotCount) {
  slots_.assign(slotCount, Slot{});
  const std::size_t mask = slotCount - 1;
  for (std::size_t offset = 0; offset < texts_.size();) {
    const ContactKey contact = ContactAt(static_cast<std::uint32_t>(offset));
    const std::uint64_t hash = HashOf(contact);
    std::size_t slot = static_cast<std::size_t>(hash) & mask;
    while (slots_[slot].offsetPlusOne != 0) slot = (slot + 1) & mask;
    slots_[slot] = {static_cast<std::uint32_t>(hash >> 32), static_cast<std::uint32_t>(offset + 1)};
    offset += 3 + contact.callSign.size() + contact.band.size() + contact.mode.size();
  }
}

}  // namespace zeltra
