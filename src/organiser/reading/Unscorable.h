#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace zeltra::organiser {

// A problem that ends the scoring of one log, or of the run, with what to
// tell the operator.
struct Unscorable : std::runtime_error {
  explicit Unscorable(std::string text, bool noStation = false)
      : std::runtime_error(text), message(std::move(text)), noOwnStation(noStation) {}
  std::string message;
  bool noOwnStation;  // the log names no own station, and nothing else does
};

}  // namespace zeltra::organiser
