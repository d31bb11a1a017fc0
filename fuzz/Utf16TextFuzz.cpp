// libFuzzer: UTF-16 text read as UTF-8, both byte orders; what comes out is
// always valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/text/Utf8.h"
#include "core/text/Utf16Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const bool bigEndian : {false, true}) {
    std::stringbuf source(std::string(reinterpret_cast<const char*>(data), size));
    zeltra::Utf16Text text(source, bigEndian);
    (void)text.Start(64);
    std::istream in(&text);
    const std::string utf8{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (zeltra::AsUtf8(utf8) != utf8) std::abort();
  }
  return 0;
}
