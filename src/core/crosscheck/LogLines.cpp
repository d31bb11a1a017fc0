#include "core/crosscheck/LogLines.h"

#include "core/crosscheck/LogCheck.h"

namespace zeltra {

void LogLines::AddPart(std::size_t position, std::string_view call, std::string_view band,
                       std::int64_t minute, PartKind kind) {
  parts_.push_back(
      {static_cast<std::uint32_t>(position), calls_.IdOf(call), std::string(band), minute, kind});
}

std::string SlotOf(std::string_view band, std::string_view mode) {
  std::string slot(band);
  slot += '\n';
  slot += mode;
  return slot;
}

void LogLines::Add(const QsoToCheck& qso) {
  lines_.push_back({.position = static_cast<std::uint32_t>(qso.position),
                    .call = calls_.IdOf(qso.call),
                    .slot = slots_.IdOf(SlotOf(qso.band, qso.mode)),
                    .minute = qso.minute,
                    .sent = exchanges_.IdOf(qso.sent),
                    .received = exchanges_.IdOf(qso.received)});
}

}  // namespace zeltra
