// libFuzzer: the organiser's log check on logs strangers sent. The input is
// several Cabrillo logs one after another, each read as the tool reads it,
// checked against the others (a station's logs as one, or the later
// alone); every line must get a verdict.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/LogLines.h"
#include "core/logscore/LogReading.h"
#include "core/text/UtcMinute.h"
#include "fuzz/FuzzCountries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const zeltra::ReadOptions options{.countries = &zeltra::fuzz::Countries(), .keepDetails = true};
  constexpr std::int64_t kReworkMinutes = 30;
  zeltra::LogCheck check(
      {.windowMinutes = static_cast<std::int64_t>(size % 7),
       .reworkMinutes = size % 2 == 0 ? std::optional(kReworkMinutes) : std::nullopt});
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("END-OF-LOG:", start);
    end = end == std::string::npos ? text.size() : end + 11;
    std::istringstream in(text.substr(start, end - start));
    start = end;
    const zeltra::LogContents log = zeltra::ReadCabrilloLog(in, options);
    // As zeltra-score: a log with a line whose time is not one takes no part.
    bool timed = true;
    for (const zeltra::QsoDetails& details : log.details)
      timed = timed && zeltra::UtcMinuteOf(details.when).has_value();
    if (!log.ownCall || !timed) continue;
    zeltra::LogLines lines(*log.ownCall);
    for (std::size_t i = 0; i < log.contacts.size(); ++i) {
      const zeltra::Contact contact = log.contacts.At(i);
      lines.Add({.position = log.contacts.PositionAt(i),
                 .call = contact.callSign,
                 .band = contact.band,
                 .mode = contact.mode,
                 .minute = *zeltra::UtcMinuteOf(log.details[i].when),
                 .sent = log.details[i].sent,
                 .received = log.details[i].received});
    }
    // Logs of one station written in any order, some at once.
    check.AddLog(lines, static_cast<std::int64_t>(end % 3));
  }
  check.Run(1 + size % 3);
  for (std::size_t log = 0; log < check.LogCount(); ++log)
    for (std::size_t i = 0; i < check.QsoCount(log); ++i) {
      const zeltra::CheckedQso qso = check.Qso(log, i);
      if (qso.partnerLog && (*qso.partnerLog >= check.LogCount() ||
                             check.CheckedInstead(*qso.partnerLog).has_value()))
        std::abort();
    }
  return 0;
}
