#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace zeltra {

// Numbers texts: the same text always the same number, the first text 0,
// so that many copies of a call or an exchange cost a number each. The
// texts are kept one after another in large blocks that never move, and
// found through one flat table probed in place, so that numbering a
// million texts makes no allocation per text and follows no chain.
class TextIds {
 public:
  std::uint32_t IdOf(std::string_view text);
  // The text's number, if it has one.
  std::optional<std::uint32_t> Find(std::string_view text) const;
  std::string_view Text(std::uint32_t id) const { return views_[id]; }
  std::size_t size() const { return views_.size(); }
  // Every text, by its number.
  const std::vector<std::string_view>& texts() const { return views_; }
  // The number here of each of other's texts, by its number there.
  std::vector<std::uint32_t> IdsOf(const TextIds& other);

 private:
  std::string_view Keep(std::string_view text);
  void Grow();
  // The slot holding the text, or the empty slot where it would go.
  std::size_t SlotOf(std::string_view text, std::uint64_t hash) const;

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockUsed_ = 0;
  std::size_t blockSize_ = 0;
  std::vector<std::string_view> views_;
  // Per slot: the hash's high half and the text's number plus one; 0 is empty.
  std::vector<std::uint64_t> slots_;
};

}  // namespace zeltra
