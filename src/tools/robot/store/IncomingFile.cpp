#include "tools/robot/store/IncomingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

fs::path NewPieceIn(const fs::path& incoming) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  return incoming / (std::to_string(random()) + ".part");
}

}  // namespace

IncomingFile::IncomingFile(const fs::path& incoming)
    : path_(NewPieceIn(incoming)),
      file_(open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0640)) {
  if (file_.get() < 0)
    throw StoreFailure("cannot keep a log: " + path_.string() + ": " + std::strerror(errno));
}

IncomingFile::~IncomingFile() {
  if (taken_) return;
  std::error_code ignored;
  fs::remove(path_, ignored);
}

void IncomingFile::Append(std::string_view bytes) {
  hasher_.Add(bytes);
  size_ += static_cast<std::int64_t>(bytes.size());
  while (!bytes.empty()) {
    const ssize_t now = write(file_.get(), bytes.data(), bytes.size());
    if (now < 0 && errno == EINTR) continue;
    if (now <= 0)
      throw StoreFailure("cannot keep a log: " + path_.string() + ": " +
                         std::strerror(now < 0 ? errno : ENOSPC));
    bytes.remove_prefix(static_cast<std::size_t>(now));
  }
}

const std::string& IncomingFile::Sha256() {
  if (sha256_.empty()) sha256_ = hasher_.Finish();
  return sha256_;
}

}  // namespace zeltra::robot
