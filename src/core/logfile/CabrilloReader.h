#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeltra {

// One QSO: line of a Cabrillo log. After frequency, mode, date and time
// come the own call and the sent exchange, then the worked call and the
// received exchange, both exchanges of the same number of fields, and
// perhaps a transmitter id; columns need not line up.
struct CabrilloQso {
  std::size_t line = 0;
  std::string band;  // as the host writes it
  std::string mode;  // "RY" read as "RTTY"
  std::string when;  // UTC, "YYYYMMDDHHMM"
  std::string myCall;
  std::string sent;  // the sent exchange's fields, joined by blanks
  std::string call;
  std::string received;  // the received exchange's fields, joined by blanks
};

// A problem with one line: its number and what is wrong.
// What a QSO line that cannot be read whole still says: its band, time
// and the call worked, where they can be told.
struct PartOfLine {
  std::string band;
  std::string when;  // UTC "YYYYMMDDHHMM"
  std::string call;  // upper case
};

struct LineProblem {
  std::size_t line;
  std::string message;
  std::optional<PartOfLine> part = std::nullopt;  // what can be read of it
};

// How many of its skipped lines a log keeps to tell; the rest are counted.
// A hostile file's memory grows with what it holds, not with its problems.
inline constexpr std::size_t kKeptLineProblems = 1000;

// The longest line a Cabrillo log may have; longer ones are skipped.
inline constexpr std::size_t kLongestCabrilloLine = 4096;

struct CabrilloLog {
  std::vector<std::pair<std::string, std::string>> header;  // tag (upper case), value
  std::vector<CabrilloQso> qsos;
  std::vector<LineProblem> problems;  // lines that could not be read, skipped: the first few
  std::size_t problemCount = 0;       // every line skipped
  std::vector<LineProblem> warnings;  // lines read all the same
  std::size_t exchangeFields = 0;     // the sent exchange's width, learnt from the log

  // The first value of a header tag; none when the log has none.
  std::optional<std::string> Tag(std::string_view tag) const;
  // The categories, joined by blanks: Cabrillo 2.0's CATEGORY first, then
  // the CATEGORY-* values in a fixed order (operator, assisted, band, mode,
  // power, station, transmitter, time, overlay, then any other by name),
  // whatever order the header gives them in.
  std::string Categories() const;
};

// Reads a Cabrillo log (3.0, or 2.0's header). X-QSO: lines are not
// scored; nothing after END-OF-LOG: is read. A QSO: line whose frequency,
// date or time is not one, or that cannot be split into own call, sent
// exchange, worked call and received exchange the way the log's other
// lines are, is reported and skipped: a report is never taken for a call.
// An own call other than the header's CALLSIGN is a warning.
// firstLine: the number of the stream's first line in its file, for a log
// that starts after other text.
CabrilloLog ReadCabrillo(std::istream& in, std::size_t firstLine = 1);

}  // namespace zeltra
