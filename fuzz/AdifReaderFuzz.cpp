// libFuzzer: the ADIF reader and the reading of its records into contacts,
// on bytes from anyone.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/logfile/AdifReader.h"
#include "core/logscore/LogReading.h"
#include "fuzz/FuzzCountries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  zeltra::AdifReader reader(in);
  const zeltra::ReadOptions options{
      .countries = &zeltra::fuzz::Countries(), .from = "202612061200", .to = "202612071200"};
  const zeltra::LogContents log = zeltra::ReadAdifLog(reader, options);
  (void)log.contacts.ByCallSign();
  return 0;
}
