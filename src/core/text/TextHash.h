#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace zeltra {

// Hashing for hash containers keyed by std::string and looked up by
// std::string_view without building a string (with std::equal_to<>).
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

}  // namespace zeltra
