#include "text/Ascii.h"

#include <algorithm>

namespace zeltra {
namespace {

char UpperByte(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsControlOrBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), UpperByte);
  return upper;
}

std::string_view TrimControlAndBlank(std::string_view text) {
  while (!text.empty() && IsControlOrBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsControlOrBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace zeltra
