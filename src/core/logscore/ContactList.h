#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/scoring/Contact.h"

namespace zeltra {

// The contacts of one log, packed: each contact's six texts one after
// another in a single buffer, so that a million contacts cost tens of
// bytes each, not hundreds. Each keeps its line or record number.
class ContactList {
 public:
  // position: the contact's line or record number in its file.
  void Add(std::size_t position, const Contact& contact);

  std::size_t size() const { return offsets_.size(); }
  Contact At(std::size_t index) const;
  std::string_view CallSignAt(std::size_t index) const;
  std::size_t PositionAt(std::size_t index) const { return positions_[index]; }

  // The order "Recalc" replays a log in: by call sign, byte for byte,
  // contacts of one call sign in log order.
  std::vector<std::uint32_t> ByCallSign() const;
  std::vector<std::uint32_t> InLogOrder() const;

 private:
  std::string texts_;  // per contact: six length bytes, then the six texts
  std::vector<std::uint32_t> offsets_;
  std::vector<std::uint32_t> positions_;
};

}  // namespace zeltra
