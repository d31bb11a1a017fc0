#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/scoring/Contact.h"

namespace zeltra {

class ContactList;

// Contact indexes ascending by call sign, byte for byte, the contacts of
// one call sign in log order: the order "Recalc" replays a log in. Only a
// ContactList makes one, so a replay may rely on the contacts of one call
// sign standing together.
class CallSignOrder {
 public:
  const std::vector<std::uint32_t>& Indexes() const& { return indexes_; }
  // Of an order about to go, the indexes themselves: a loop over
  // ByCallSign().Indexes() must not walk a vector already gone.
  std::vector<std::uint32_t> Indexes() && { return std::move(indexes_); }
  // The same order holding only the indexes keep answers true for.
  template <class Keep>
  CallSignOrder Only(Keep keep) const {
    CallSignOrder kept;
    for (const std::uint32_t index : indexes_)
      if (keep(index)) kept.indexes_.push_back(index);
    return kept;
  }

 private:
  friend class ContactList;
  CallSignOrder() = default;
  std::vector<std::uint32_t> indexes_;
};

// The contacts of one log, packed: each contact's six texts one after
// another in a few large buffers, so that a million contacts cost tens of
// bytes each, not hundreds. Each keeps its line or record number.
class ContactList {
 public:
  static constexpr std::size_t kBlockBits = 20;

  // position: the contact's line or record number in its file.
  void Add(std::size_t position, const Contact& contact);
  // Appends later's contacts, their positions moved on by renumberBy.
  void Join(ContactList&& later, std::size_t renumberBy);
  // Gives back the room kept for contacts to come, once they are all in:
  // a check holds ten thousand logs' lists at once.
  void ShrinkToFit();

  std::size_t size() const { return offsets_.size(); }
  Contact At(std::size_t index) const;
  std::string_view CallSignAt(std::size_t index) const;
  std::size_t PositionAt(std::size_t index) const { return positions_[index]; }

  // Ask the processor to fetch what the contact at index is read from into
  // its cache ahead of its reading, as a replay by call sign visits the
  // list out of order: first where it is kept, later its texts.
  void PrefetchPlace(std::size_t index) const;
  void PrefetchTexts(std::size_t index) const;

  CallSignOrder ByCallSign() const;
  std::vector<std::uint32_t> InLogOrder() const;

 private:
  const char* TextsAt(std::size_t index) const;

  // Per contact: six length bytes, then the six texts, in blocks that are
  // never moved once made; a contact's offset is its block's number above
  // kBlockBits and its place in the block below.
  std::vector<std::string> blocks_;
  std::vector<std::uint32_t> offsets_;
  std::vector<std::uint32_t> positions_;
};

}  // namespace zeltra
