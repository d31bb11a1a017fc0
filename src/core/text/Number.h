#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace zeltra {

// The number text spells, when the whole text is one (decimal, no blanks
// around it, in Number's range); none otherwise.
template <class Number>
std::optional<Number> NumberOf(std::string_view text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace zeltra
