#pragma once

#include <cstddef>
#include <string_view>

namespace zeltra {

// What a file holds, known by its first bytes, not by its name.
enum class LogKind {
  kAdif,      // ADIF tags: <EOH>, <EOR> or a field such as <CALL:4>
  kAdx,       // XML with an <ADX> element
  kCabrillo,  // a line starting with START-OF-LOG:
  kUtf16,     // UTF-16 text (a byte-order mark), which no reader reads
  kNotALog,
};

// How many of a file's first bytes tell its kind.
inline constexpr std::size_t kLogKindWindow = 16 * 1024;

struct KnownLog {
  LogKind kind = LogKind::kNotALog;
  // Cabrillo: where the START-OF-LOG: line starts. Text before it, as a
  // web form puts there, is no part of the log.
  std::size_t start = 0;
  bool textBefore = false;      // something other than a byte-order mark before start
  std::size_t linesBefore = 0;  // the lines before start
};

// The kind of log whose first bytes (up to kLogKindWindow of them) these are.
KnownLog KnowLog(std::string_view firstBytes);

// A name for the kind, as messages say it: "ADIF", "ADX", "Cabrillo".
std::string_view LogKindName(LogKind kind);

}  // namespace zeltra
