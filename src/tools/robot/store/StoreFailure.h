#pragma once

#include <stdexcept>

namespace zeltra::robot {

// The robot's data folder could not be used: a log not kept, records not
// read, a folder held by another robot. The text names what and why.
struct StoreFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace zeltra::robot
