#include "core/text/Ascii.h"

#include <algorithm>
#include <cstdint>

namespace zeltra {
namespace {

char UpperByte(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), UpperByte);
  return upper;
}

char AsciiUpper(char c) {
  return UpperByte(c);
}

std::size_t AsciiCaseInsensitiveHash::operator()(std::string_view text) const {
  // FNV-1a over the upper-cased bytes.
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : text)
    hash = (hash ^ static_cast<unsigned char>(UpperByte(c))) * 0x100000001b3ULL;
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

}  // namespace zeltra
