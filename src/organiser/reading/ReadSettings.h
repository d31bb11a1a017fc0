#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zeltra::organiser {

// How a run reads its logs: which contacts count, and how far a log's
// text may go.
struct ReadSettings {
  // The contest period, UTC, "YYYYMMDDHHMM": contacts outside it are left out.
  std::optional<std::string> from;
  std::optional<std::string> to;
  bool anyMode = false;  // keep contacts in any mode, not only RTTY
  bool anyBand = false;  // and on bands outside the contest's nine
  bool strict = false;   // a line that cannot be scored stops the log
  // A log whose text, unpacked, is larger is not read (0: no bound but the
  // one on compression).
  std::uint64_t largestText = 0;
};

// The own station one log is scored for, as its operator gives it; each
// part not given comes from the log and the country file.
struct GivenStation {
  std::optional<std::string> call;
  std::optional<std::string> continent;
  std::optional<std::string> dxcc;

  bool Named() const { return call || continent || dxcc; }
};

}  // namespace zeltra::organiser
