#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeltra {

// A log of a station that sent more than one, as the check sees it.
struct StationLog {
  std::int64_t firstMinute = 0;  // its earliest QSO line
  std::int64_t lastMinute = 0;   // and its latest
  std::int64_t written = 0;      // when it was written (sent), in any unit that orders
};

// What the check does with a station's logs: checks them as one, each
// after the one before in time, when no two overlap (a station that moved,
// two operating periods); else checks only the one written last (of two
// written at once, the later given) and sets the others aside.
struct StationLogChoice {
  bool asOne = true;
  std::vector<std::size_t> checked;  // the logs checked, by their place, in time order
  std::vector<std::size_t> setAside;
};
StationLogChoice ChooseStationLogs(const std::vector<StationLog>& logs);

// Whether a log takes part in the check: at most half its lines lack a
// time or an exchange (else its logger wrote none).
inline bool TakesPart(std::size_t lines, std::size_t unfit) {
  return 2 * unfit <= lines;
}

}  // namespace zeltra
