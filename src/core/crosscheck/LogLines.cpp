#include "core/crosscheck/LogLines.h"

#include "core/crosscheck/LogCheck.h"

#include <algorithm>

namespace zeltra {

void LogLines::AddPart(std::size_t position, std::string_view call, std::string_view band,
                       std::int64_t minute, PartKind kind) {
  parts_.push_back(
      {static_cast<std::uint32_t>(position), calls_.IdOf(call), std::string(band), minute, kind});
}

std::pair<std::int64_t, std::int64_t> LogLines::MinuteRange() const {
  if (lines_.empty()) return {0, -1};
  std::int64_t earliest = lines_.front().minute;
  std::int64_t latest = earliest;
  for (const Line& line : lines_) {
    earliest = std::min(earliest, line.minute);
    latest = std::max(latest, line.minute);
  }
  return {earliest, latest};
}

void LogLines::Append(const LogLines& other) {
  const std::vector<std::uint32_t> calls = calls_.IdsOf(other.calls_);
  const std::vector<std::uint32_t> slots = slots_.IdsOf(other.slots_);
  const std::vector<std::uint32_t> exchanges = exchanges_.IdsOf(other.exchanges_);
  for (const Line& line : other.lines_)
    lines_.push_back({.position = line.position,
                      .call = calls[line.call],
                      .slot = slots[line.slot],
                      .minute = line.minute,
                      .sent = exchanges[line.sent],
                      .received = exchanges[line.received]});
  for (const Part& part : other.parts_)
    parts_.push_back({part.position, calls[part.call], part.band, part.minute, part.kind});
}

void LogLines::Compact() {
  calls_.Compact();
  slots_.Compact();
  exchanges_.Compact();
  lines_.shrink_to_fit();
  parts_.shrink_to_fit();
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
