#include "tools/robot/store/UploadKey.h"

#include <sys/random.h>

#include <array>
#include <cctype>

#include "tools/robot/store/Sha256.h"
#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {
namespace {

constexpr std::size_t kKeyBytes = 16;

}  // namespace

std::string NewKey() {
  std::array<unsigned char, kKeyBytes> bits{};
  // The kernel's own generator, as /dev/urandom reads it.
  if (getrandom(bits.data(), bits.size(), 0) != static_cast<ssize_t>(bits.size()))
    throw StoreFailure("no random bits for a key");
  return Hex(bits.data(), bits.size());
}

std::string KeyHash(std::string_view key) {
  std::string digits;
  for (const char c : key)
    if (std::isspace(static_cast<unsigned char>(c)) == 0)
      digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return Sha256(digits);
}

}  // namespace zeltra::robot
