#include "tools/robot/store/Disk.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "tools/robot/store/Descriptor.h"
#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {

namespace fs = std::filesystem;

void SystemDisk::Sync(int descriptor, const fs::path& path) {
  if (fsync(descriptor) != 0)
    throw StoreFailure("cannot keep a log: " + path.string() + ": " + std::strerror(errno));
}

void SystemDisk::Rename(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (error) throw StoreFailure("cannot keep a log: " + to.string() + ": " + error.message());
}

void SystemDisk::SyncFolder(const fs::path& folder) {
  const Descriptor handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.get() < 0 || fsync(handle.get()) != 0)
    throw StoreFailure("cannot keep a log: " + folder.string() + ": " + std::strerror(errno));
}

Disk& TheSystemDisk() {
  static SystemDisk disk;
  return disk;
}

}  // namespace zeltra::robot
