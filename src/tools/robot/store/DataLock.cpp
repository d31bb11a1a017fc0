#include "tools/robot/store/DataLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "tools/robot/store/StoreFailure.h"
#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {
namespace {

constexpr std::size_t kLongestHolder = 200;

// What the lock file says of its holder, on one line.
std::string HolderOf(int descriptor) {
  char text[kLongestHolder] = {};
  const ssize_t got = pread(descriptor, text, sizeof text - 1, 0);
  std::string holder(text, got > 0 ? static_cast<std::size_t>(got) : 0);
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
  return holder.empty() ? "another process" : holder;
}

}  // namespace

DataLock::DataLock(const std::filesystem::path& folder)
    : file_(open((folder / "lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0640)) {
  if (file_.get() < 0)
    throw StoreFailure("cannot use " + folder.string() + ": " + std::strerror(errno));
  if (flock(file_.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK)
      throw StoreFailure(folder.string() + " is served by another robot: " + HolderOf(file_.get()));
    throw StoreFailure("cannot lock " + folder.string() + ": " + std::strerror(errno));
  }
  const std::string holder =
      "process " + std::to_string(getpid()) + ", since " + UtcNow() + " UTC\n";
  if (ftruncate(file_.get(), 0) != 0 ||
      pwrite(file_.get(), holder.data(), holder.size(), 0) != static_cast<ssize_t>(holder.size()))
    throw StoreFailure("cannot write in " + folder.string() + ": " + std::strerror(errno));
}

}  // namespace zeltra::robot
