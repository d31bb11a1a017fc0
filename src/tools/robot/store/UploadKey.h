#pragma once

#include <string>
#include <string_view>

namespace zeltra::robot {

// A new key: 128 random bits in lower-case hex, 32 digits.
std::string NewKey();

// What the records keep of a key: the SHA-256 of its digits, read as an
// entrant may type them back (spaces around, capitals).
std::string KeyHash(std::string_view key);

}  // namespace zeltra::robot
