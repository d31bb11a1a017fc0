#include "core/records/ShortString.h"

#include <algorithm>
#include <cstring>

namespace zeltra {

void ShortString::assign(std::string_view text) {
  const std::size_t length = std::min(text.size(), kCapacity);
  bytes[0] = static_cast<unsigned char>(length);
  std::memcpy(bytes + 1, text.data(), length);
}

}  // namespace zeltra
