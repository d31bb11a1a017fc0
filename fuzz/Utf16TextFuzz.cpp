// libFuzzer: UTF-16 text read as UTF-8, both byte orders, and the same
// bytes read as a single-byte text in the code page guessed for them; what
// comes out is always valid UTF-8, at most three bytes for each byte read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/text/Utf8.h"
#include "core/text/Utf16Text.h"

namespace {

// The most UTF-8 bytes one single-byte character takes (U+20AC, €).
constexpr std::size_t kWidestCharacter = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string read = zeltra::AsUtf8(bytes);
  if (zeltra::AsUtf8(read) != read || read.size() > kWidestCharacter * size) std::abort();
  for (const bool bigEndian : {false, true}) {
    std::stringbuf source(bytes);
    zeltra::Utf16Text text(source, bigEndian);
    (void)text.Start(64);
    std::istream in(&text);
    const std::string utf8{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (zeltra::AsUtf8(utf8) != utf8) std::abort();
  }
  return 0;
}
