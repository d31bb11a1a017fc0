#pragma once

#include <cstddef>
#include <string>

namespace zeltra::testing {

// How many times part occurs in text (each occurrence counted from the
// one before's start, so overlapping ones count too).
inline std::size_t CountIn(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

}  // namespace zeltra::testing
