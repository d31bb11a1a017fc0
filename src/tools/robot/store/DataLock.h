#pragma once

#include <filesystem>

#include "tools/robot/store/Descriptor.h"

namespace zeltra::robot {

// The one robot that serves a data folder: an exclusive lock on DATA/lock,
// held as long as this lives, the file naming the process that holds it.
// Only the holder keeps logs and removes what a killed run left; every
// other command only reads, or records the organiser's decisions.
class DataLock {
 public:
  // Throws StoreFailure when another process holds it, naming that process.
  explicit DataLock(const std::filesystem::path& folder);

 private:
  Descriptor file_;
};

}  // namespace zeltra::robot
