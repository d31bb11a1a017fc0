// libFuzzer: the country file's parser and its look-ups.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "core/logfile/CountryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const zeltra::CountryFile file = zeltra::CountryFile::Parse(text);
    for (const std::string_view call : {"SP9ABC", "W1AW/KH6", "KA2CKI/R", "DL/SP9ABC/P", "/", ""})
      (void)file.Lookup(call);
    (void)file.Lookup(text.substr(0, 32));
    (void)file.ByName(text.substr(0, 32));
  } catch (const std::runtime_error&) {
    // Not a country file: said so, nothing else.
  }
  return 0;
}
