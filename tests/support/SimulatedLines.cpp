#include "support/SimulatedLines.h"

#include <cstddef>

#include "core/crosscheck/LogCheck.h"

namespace zeltra::test {

void AddSimulatedLines(LogLines& lines, const SimulatedLog& simulated) {
  std::size_t position = 0;
  for (const SimulatedQso& qso : simulated.qsos)
    if (qso.verdict == "unreadable")
      lines.AddPart(++position, qso.call, qso.band, qso.minute);
    else if (qso.verdict == "left-out")
      lines.AddPart(++position, qso.call, qso.band, qso.minute, PartKind::kLeftOut);
    else
      lines.Add({.position = ++position,
                 .call = qso.call,
                 .band = qso.band,
                 .mode = "RTTY",
                 .minute = qso.minute,
                 .sent = qso.sent,
                 .received = qso.received});
}

}  // namespace zeltra::test
