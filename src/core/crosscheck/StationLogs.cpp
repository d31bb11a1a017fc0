#include "core/crosscheck/StationLogs.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace zeltra {

StationLogChoice ChooseStationLogs(const std::vector<StationLog>& logs) {
  StationLogChoice choice;
  std::vector<std::size_t> byTime(logs.size());
  std::iota(byTime.begin(), byTime.end(), std::size_t{0});
  std::stable_sort(byTime.begin(), byTime.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(logs[a].firstMinute, logs[a].lastMinute) <
           std::tie(logs[b].firstMinute, logs[b].lastMinute);
  });
  for (std::size_t k = 1; k < byTime.size(); ++k)
    if (logs[byTime[k]].firstMinute <= logs[byTime[k - 1]].lastMinute) choice.asOne = false;
  if (choice.asOne) {
    choice.checked = byTime;
    return choice;
  }
  std::size_t latest = 0;
  for (std::size_t i = 1; i < logs.size(); ++i)
    if (logs[i].written >= logs[latest].written) latest = i;
  choice.checked = {latest};
  for (std::size_t i = 0; i < logs.size(); ++i)
    if (i != latest) choice.setAside.push_back(i);
  return choice;
}

}  // namespace zeltra
