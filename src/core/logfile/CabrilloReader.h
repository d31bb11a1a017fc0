#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeltra {

// One QSO: line of a Cabrillo 3.0 log. After frequency, mode, date and time
// come the own call and the sent exchange, then the worked call and the
// received exchange, both exchanges of the same number of fields, and
// perhaps a transmitter id; columns need not line up.
struct CabrilloQso {
  std::size_t line = 0;
  std::string band;  // as the host writes it
  std::string mode;  // "RY" read as "RTTY"
  std::string myCall;
  std::string call;
  std::string received;  // the received exchange's fields, joined by blanks
};

// A problem with one line: its number and what is wrong.
struct LineProblem {
  std::size_t line;
  std::string message;
};

struct CabrilloLog {
  std::vector<std::pair<std::string, std::string>> header;  // tag (upper case), value
  std::vector<CabrilloQso> qsos;
  std::vector<LineProblem> problems;  // lines that could not be read, skipped

  // The first value of a header tag; none when the log has none.
  std::optional<std::string> Tag(std::string_view tag) const;
  // The CATEGORY-* values, joined by blanks.
  std::string Categories() const;
};

// Reads a Cabrillo 3.0 log. X-QSO: lines are read as not scored; a QSO:
// line with too few fields, or a frequency, date or time that is not one,
// is reported and skipped.
CabrilloLog ReadCabrillo(std::istream& in);

}  // namespace zeltra
