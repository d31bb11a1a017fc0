#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zeltra {

// A length-prefixed single-byte text in a fixed 256-byte field, as the host
// lays out its records: byte 0 holds the length, bytes 1..length the text.
// The text may hold any byte, NUL included.
struct ShortString {
  static constexpr std::size_t kCapacity = 255;

  unsigned char bytes[kCapacity + 1];

  std::string str() const { return std::string(view()); }
  std::string_view view() const {
    return std::string_view(reinterpret_cast<const char*>(bytes + 1), bytes[0]);
  }

  // Writes the length byte and the characters only, cutting the text to
  // kCapacity characters; the bytes after the text keep what they held.
  void assign(std::string_view text);
};

static_assert(sizeof(ShortString) == 256);

}  // namespace zeltra
