// libFuzzer: the ADX (XML) reader and the reading of its records.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/logfile/AdxReader.h"
#include "core/logscore/LogReading.h"
#include "fuzz/FuzzCountries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  zeltra::AdxReader reader(in);
  const zeltra::ReadOptions options{.countries = &zeltra::fuzz::Countries()};
  (void)zeltra::ReadAdifLog(reader, options);
  return 0;
}
