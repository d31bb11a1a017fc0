#include "core/text/Ascii.h"

#include <algorithm>
#include <cstdint>

namespace zeltra {

std::string AsciiUpper(std::string_view text) {
  std::string upper;
  AssignAsciiUpper(upper, text);
  return upper;
}

void AssignAsciiUpper(std::string& to, std::string_view text) {
  to.assign(text);
  std::transform(to.begin(), to.end(), to.begin(), [](char c) { return AsciiUpper(c); });
}

std::size_t AsciiCaseInsensitiveHash::operator()(std::string_view text) const {
  // FNV-1a over the upper-cased bytes.
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : text)
    hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 0x100000001b3ULL;
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

}  // namespace zeltra
