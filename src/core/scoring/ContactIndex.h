#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra {

// What tells one recorded contact from another: its call sign, band and
// mode, compared byte for byte. Each text is at most 255 bytes, as a short
// string holds.
struct ContactKey {
  std::string_view callSign;
  std::string_view band;
  std::string_view mode;
};

// Every recorded contact, indexed by call sign, band and mode compared byte
// for byte. The duplicate check is one hash look-up, whatever order the
// contacts arrived in (a reload delivers them in the database's own
// collation, which need not be byte order), so no list order has to be kept
// up. Contacts are packed one after another in a single buffer and the
// index is a flat open-addressing table of 8-byte slots, so that a look-up
// in a long log touches two cache lines, not a chain of scattered nodes.
class ContactIndex {
 public:
  bool Contains(const ContactKey& contact) const;
  // Records a copy of the contact unless an equal one is recorded; answers
  // whether it was added. Throws std::length_error for a text over 255 bytes.
  bool Add(const ContactKey& contact);
  void Clear();
  // Makes room for this many contacts at once, so that the index is not
  // rebuilt again and again while a long log is replayed.
  void Reserve(std::size_t contacts);

  std::size_t size() const { return count_; }

 private:
  struct Slot {
    std::uint32_t fingerprint = 0;
    std::uint32_t offsetPlusOne = 0;  // 0: empty; else where the contact starts in texts_
  };

  static std::uint64_t HashOf(const ContactKey& contact);
  ContactKey ContactAt(std::uint32_t offset) const;
  // The slot holding contact, or the empty slot where it belongs.
  std::size_t FindSlot(const ContactKey& contact, std::uint64_t hash) const;
  void Rebuild(std::size_t slotCount);

  // Per contact: three length bytes, then call sign, band and mode.
  std::string texts_;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace zeltra
