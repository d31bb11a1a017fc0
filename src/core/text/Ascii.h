#pragma once

#include <string>
#include <string_view>

namespace zeltra {

// Text is single-byte throughout: only the ASCII letters a-z and A-Z have a
// case, every other byte is left as it is.

std::string AsciiUpper(std::string_view text);

// Removes leading and trailing characters with codes 0 to 32.
std::string_view TrimControlAndBlank(std::string_view text);

}  // namespace zeltra
