// libFuzzer: the ADIF reader and the reading of its records into contacts,
// on bytes from anyone; and the same log read in two parts at once, from a
// place the input picks, which must read as the whole does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/logfile/AdifReader.h"
#include "core/logscore/AdifInTwo.h"
#include "core/logscore/LogReading.h"
#include "fuzz/FuzzCountries.h"

namespace {

bool SameProblems(const std::vector<zeltra::LogProblem>& a,
                  const std::vector<zeltra::LogProblem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].position != b[i].position || a[i].message != b[i].message) return false;
  return true;
}

bool Same(const zeltra::LogContents& a, const zeltra::LogContents& b) {
  if (a.contacts.size() != b.contacts.size() || a.leftOut.size() != b.leftOut.size() ||
      a.leftOutReasons != b.leftOutReasons || a.skippedCount != b.skippedCount ||
      a.warningsByKind != b.warningsByKind || a.stopped != b.stopped || a.ownCall != b.ownCall ||
      a.ownCountry != b.ownCountry || !SameProblems(a.skipped, b.skipped) ||
      !SameProblems(a.warnings, b.warnings))
    return false;
  for (std::size_t i = 0; i < a.contacts.size(); ++i)
    if (a.contacts.PositionAt(i) != b.contacts.PositionAt(i) ||
        a.contacts.At(i).callSign != b.contacts.At(i).callSign ||
        a.contacts.At(i).reportReceived != b.contacts.At(i).reportReceived)
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  zeltra::AdifReader reader(in);
  const zeltra::ReadOptions options{
      .countries = &zeltra::fuzz::Countries(), .from = "202612061200", .to = "202612071200"};
  const zeltra::LogContents log = zeltra::ReadAdifLog(reader, options);
  (void)log.contacts.ByCallSign();
  if (size < 2) return 0;
  // The second part starts where the input's last two bytes say.
  const std::size_t middle =
      1 + (static_cast<std::size_t>(data[size - 1]) << 8 | data[size - 2]) % (size - 1);
  std::istringstream whole(text);
  std::istringstream fromMiddle(text.substr(middle));
  if (!Same(zeltra::ReadAdifLogInTwo(whole, fromMiddle, middle, options), log)) std::abort();
  return 0;
}
