#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text/TextIds.h"

namespace zeltra {

struct QsoToCheck;

// Why a line takes part only as evidence for the other side.
enum class PartKind : unsigned char {
  kUnread,   // it could not be read whole
  kLeftOut,  // the contest does not count it: its period, mode or band
};

// One log's QSO lines made ready for the check on any thread: its texts
// numbered within the log, so that putting the log into the check costs a
// look-up per distinct text, not per line.
class LogLines {
 public:
  explicit LogLines(std::string_view ownCall) : ownCall_(ownCall) {}

  void Add(const QsoToCheck& qso);
  // A line that could not be read whole, or that the contest does not
  // count, but says the call worked, the band and the time: no QSO to
  // judge, yet evidence against a NIL.
  void AddPart(std::size_t position, std::string_view call, std::string_view band,
               std::int64_t minute, PartKind kind = PartKind::kUnread);
  std::size_t size() const { return lines_.size(); }

 private:
  friend class LogCheck;
  struct Line {
    std::uint32_t position;
    std::uint32_t call;
    std::uint32_t slot;
    std::int64_t minute;
    std::uint32_t sent;
    std::uint32_t received;
  };
  std::string ownCall_;
  TextIds calls_;
  TextIds slots_;
  TextIds exchanges_;
  std::vector<Line> lines_;
  struct Part {
    std::uint32_t position;
    std::uint32_t call;
    std::string band;
    std::int64_t minute;
    PartKind kind;
  };
  std::vector<Part> parts_;
};

// A band and mode as one text.
std::string SlotOf(std::string_view band, std::string_view mode);

}  // namespace zeltra
