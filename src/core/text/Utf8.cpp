#include "core/text/Utf8.h"

#include <cstdint>
#include <cstdio>

namespace zeltra {
namespace {

// The length of the valid UTF-8 sequence at text's start, and its code
// point; 0 when the first byte starts none.
std::size_t SequenceAt(std::string_view text, std::uint32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(0);
  std::size_t length = 0;
  std::uint32_t lowest = 0;
  if (first < 0x80) {
    codePoint = first;
    return 1;
  } else if ((first & 0xE0) == 0xC0) {
    length = 2;
    codePoint = first & 0x1Fu;
    lowest = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    length = 3;
    codePoint = first & 0x0Fu;
    lowest = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    length = 4;
    codePoint = first & 0x07u;
    lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
  }
  if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return 0;
  return length;
}

bool IsControl(std::uint32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  for (const char c : bytes) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
    out += escaped;
  }
}

}  // namespace

std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    std::uint32_t codePoint = 0;
    std::size_t length = SequenceAt(text, codePoint);
    if (length == 0) {
      AppendEscaped(out, text.substr(0, 1));
      length = 1;
    } else if (IsControl(codePoint)) {
      AppendEscaped(out, text.substr(0, length));
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

std::string AsUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    std::uint32_t codePoint = 0;
    std::size_t length = SequenceAt(text, codePoint);
    if (length == 0) {
      const auto byte = static_cast<unsigned char>(text.front());
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
      length = 1;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace zeltra
