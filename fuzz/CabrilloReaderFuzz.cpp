// libFuzzer: the Cabrillo reader, the reading of its lines into contacts,
// and the look at a file's first bytes that tells its kind.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/logfile/LogKind.h"
#include "core/logscore/LogReading.h"
#include "fuzz/FuzzCountries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const zeltra::KnownLog known = zeltra::KnowLog(text);
  std::istringstream in(text.substr(std::min(known.start, text.size())));
  const zeltra::ReadOptions options{.countries = &zeltra::fuzz::Countries(),
                                    .linesBefore = known.linesBefore};
  (void)zeltra::ReadCabrilloLog(in, options);
  return 0;
}
