#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeltra {

// Whether b comes from a by exactly one slip of the hand: one character put for
// another, one added, one left out, or two neighbours swapped.
bool OneEditApart(std::string_view a, std::string_view b);

// Whether b is a as RTTY prints it after a lost letters/figures shift:
// some figures read as the letters on their keys, or the reverse (SP9AHW,
// SPOAHW).
bool ShiftApart(std::string_view a, std::string_view b);

// One slip: one edit, or a lost shift.
bool OneSlipApart(std::string_view a, std::string_view b);

// Finds, among many calls, those one slip away from a given call without
// comparing it with each: every call is filed under itself and under each
// text it gives with one character left out, and under its figures read as
// letters; two calls one slip apart always share one such key.
class NearCallIndex {
 public:
  // The calls to search, numbered by their place in texts, which must
  // outlive the index.
  explicit NearCallIndex(const std::vector<std::string_view>& texts);

  // The numbers of the calls one slip away from call, in ascending order.
  std::vector<std::uint32_t> Near(std::string_view call) const;

 private:
  const std::vector<std::string_view>& texts_;
  std::vector<std::pair<std::size_t, std::uint32_t>> keys_;  // (hash of a key, call), sorted
};

}  // namespace zeltra
