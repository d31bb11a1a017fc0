#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <numeric>

#include "core/crosscheck/StationLogs.h"

namespace zeltra {

std::pair<std::int64_t, std::int64_t> LogCheck::MinuteRange(std::uint32_t log) const {
  const Log& of = logs_[log];
  if (of.lineCount == 0) return {0, -1};
  std::int64_t earliest = lines_[of.firstLine].minute;
  std::int64_t latest = earliest;
  for (std::uint32_t i = of.firstLine; i < of.firstLine + of.lineCount; ++i) {
    earliest = std::min(earliest, lines_[i].minute);
    latest = std::max(latest, lines_[i].minute);
  }
  return {earliest, latest};
}

// A station that sent two logs: each log keeps its lines and its number,
// and the lines of the logs checked as one are matched as the first's.
void LogCheck::JoinStationLogs() {
  std::vector<std::uint32_t> byStation(logs_.size());
  std::iota(byStation.begin(), byStation.end(), 0U);
  std::stable_sort(byStation.begin(), byStation.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return logs_[a].call < logs_[b].call; });
  bool anySetAside = false;
  for (std::size_t begin = 0; begin < byStation.size();) {
    std::size_t end = begin + 1;
    while (end < byStation.size() && logs_[byStation[end]].call == logs_[byStation[begin]].call)
      ++end;
    const std::vector<std::uint32_t> station(byStation.begin() + static_cast<std::ptrdiff_t>(begin),
                                             byStation.begin() + static_cast<std::ptrdiff_t>(end));
    begin = end;
    if (station.size() == 1) continue;
    std::vector<StationLog> spans;
    for (const std::uint32_t log : station) {
      const auto [first, last] = MinuteRange(log);
      spans.push_back({.firstMinute = first, .lastMinute = last, .written = logs_[log].written});
    }
    const StationLogChoice choice = ChooseStationLogs(spans);
    const std::uint32_t checked = station[choice.checked.front()];
    logOfCall_[logs_[checked].call] = checked;
    std::uint32_t before = checked;
    for (std::size_t k = 1; k < choice.checked.size(); ++k) {
      const std::uint32_t log = station[choice.checked[k]];
      logs_[log].station = checked;
      logs_[before].nextJoined = log;
      before = log;
      for (std::uint32_t i = logs_[log].firstLine; i < logs_[log].firstLine + logs_[log].lineCount;
           ++i)
        lines_[i].log = checked;
    }
    for (const std::size_t k : choice.setAside) {
      logs_[station[k]].station = checked;
      logs_[station[k]].setAside = true;
      anySetAside = true;
    }
  }
  for (Part& part : parts_) part.log = logs_[part.file].station;
  stationCount_ = 0;
  for (std::uint32_t log = 0; log < logs_.size(); ++log)
    if (logs_[log].station == log && !logs_[log].setAside) ++stationCount_;
  if (!anySetAside) return;
  // The lines of the logs set aside are taken out; the others keep their
  // order, each log's still together.
  std::erase_if(lines_, [&](const Line& line) { return logs_[line.file].setAside; });
  std::erase_if(parts_, [&](const Part& part) { return logs_[part.file].setAside; });
  std::uint32_t first = 0;
  for (Log& log : logs_) {
    if (log.setAside) log.lineCount = 0;
    log.firstLine = first;
    first += log.lineCount;
  }
}

std::vector<std::uint32_t> LogCheck::LogsHoldingEachCall() const {
  std::vector<std::uint32_t> holding(calls_.size(), 0);
  // A log's lines lie together: a call is counted again only for another log.
  std::vector<std::uint32_t> countedFor(calls_.size(), kNone);
  for (const Line& line : lines_) {
    if (countedFor[line.logged] == line.file) continue;
    countedFor[line.logged] = line.file;
    ++holding[line.logged];
  }
  return holding;
}

std::optional<std::size_t> LogCheck::CheckedInstead(std::size_t log) const {
  if (!logs_[log].setAside) return std::nullopt;
  return logs_[log].station;
}

}  // namespace zeltra
