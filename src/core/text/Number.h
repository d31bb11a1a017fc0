#pragma once

#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

namespace zeltra {

// The number text spells, when the whole text is one (decimal, no blanks
// around it, in Number's range); none otherwise.
template <class Number>
std::optional<Number> NumberOf(std::string_view text) {
  if constexpr (std::is_integral_v<Number> && std::is_unsigned_v<Number>) {
    // Digits only, as std::from_chars takes them, read by hand: a log's
    // lengths and serials are a few digits each and many.
    if (text.empty()) return std::nullopt;
    Number value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      const auto digit = static_cast<Number>(c - '0');
      if (value > (std::numeric_limits<Number>::max() - digit) / 10) return std::nullopt;
      value = static_cast<Number>(value * 10 + digit);
    }
    return value;
  }
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace zeltra
