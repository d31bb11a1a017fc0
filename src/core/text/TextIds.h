#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zeltra {

// Numbers texts: the same text always the same number, the first text 0,
// so that many copies of a call or an exchange cost a number each.
class TextIds {
 public:
  std::uint32_t IdOf(std::string_view text);
  std::string_view Text(std::uint32_t id) const { return views_[id]; }
  std::size_t size() const { return views_.size(); }
  // Every text, by its number.
  const std::vector<std::string_view>& Texts() const { return views_; }

 private:
  std::deque<std::string> texts_;  // a deque: its texts never move
  std::vector<std::string_view> views_;
  std::unordered_map<std::string_view, std::uint32_t> ids_;
};

}  // namespace zeltra
