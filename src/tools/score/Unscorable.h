#pragma once

#include <string>

namespace zeltra::score {

// A problem that ends the scoring of one log, or of the run, with what to
// tell the operator.
struct Unscorable {
  std::string message;
};

}  // namespace zeltra::score
