#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeltra {

// Text is single-byte throughout: only the ASCII letters a-z and A-Z have a
// case, every other byte is left as it is.

std::string AsciiUpper(std::string_view text);

// to becomes text upper-cased, in the room it already has.
void AssignAsciiUpper(std::string& to, std::string_view text);

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Removes leading and trailing characters with codes 0 to 32.
inline std::string_view TrimControlAndBlank(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether text is one or more of the digits 0 to 9 and nothing else.
inline bool AllDigits(std::string_view text) {
  // A loop: find_first_not_of searches its set once a character.
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i];
    const char y = b[i];
    if (x == y) continue;
    if ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z') return false;
  }
  return true;
}

// Hashing and equality that ignore ASCII letter case, for hash containers
// looked up by std::string_view without building an upper-cased copy.
struct AsciiCaseInsensitiveHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const;
};
struct AsciiCaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return EqualsIgnoringAsciiCase(a, b);
  }
};

}  // namespace zeltra
