#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

namespace zeltra::organiser {

// Where a program tells its problems: standard error. Every line is
// shown by Printable, so no text from a log drives the terminal; a
// progress line on a terminal is cleared before anything else is written;
// warnings are counted by kind, and listed unless quiet.
class Diagnostics {
 public:
  // program: the name a failure of the run is told after.
  Diagnostics(std::ostream& errors, std::string program, bool quiet, bool progressIsShown);

  // "Scoring 2 of 3: b.log", on a terminal only, over the last one.
  void Progress(std::size_t index, std::size_t count, std::string_view name);
  // A warning or a skipped record, of a kind.
  void Warning(std::string_view line, std::string_view kind);
  // A note the operator should read even when quiet (no count).
  void Error(std::string_view line);
  // A failure of the run rather than of one log, told after the program's
  // name ("zeltra-score: no log to score in logs/").
  void Failure(std::string_view text);
  // Counts kept without a line (problems a log had more of than it kept).
  void Count(std::string_view kind, std::size_t count);
  // The warnings by kind, when there were any; clears the progress line.
  void Finish();

  // The warnings counted so far, by kind.
  const std::map<std::string, std::size_t>& Counts() const { return byKind_; }
  // What another one told (its lines, as written) and counted, as if told
  // here: a log scored on another thread tells its problems in its turn.
  void Absorb(std::string_view told, const std::map<std::string, std::size_t>& counts);

 private:
  void ClearProgress();

  std::ostream& errors_;
  std::string program_;
  bool quiet_;
  bool progressIsShown_;
  bool progressShowing_ = false;
  std::map<std::string, std::size_t> byKind_;
};

}  // namespace zeltra::organiser
