#include "tools/robot/ConnectionWatch.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tools/robot/PortSockets.h"

namespace zeltra::robot {
namespace {

constexpr std::chrono::milliseconds kLongestPatrolGap{1000};
constexpr std::chrono::milliseconds kShortestPatrolGap{10};
constexpr int kPatrolsPerLimit = 4;

}  // namespace

ConnectionWatch::ConnectionWatch(std::chrono::milliseconds limit)
    : limit_(limit), patrol_([this] { Patrol(); }) {}

ConnectionWatch::~ConnectionWatch() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  patrol_.join();
  for (const auto& [token, connection] : watched_) close(connection.duplicate);
}

void ConnectionWatch::Watch(int port) {
  const std::lock_guard lock(mutex_);
  port_ = port;
}

ConnectionWatch::Token ConnectionWatch::Begin() {
  const std::lock_guard lock(mutex_);
  const Token token = next_++;
  std::vector<ino_t> known;
  known.reserve(watched_.size());
  for (const auto& [held, connection] : watched_) known.push_back(connection.socket);
  // Normally the one just accepted; should one ever have been missed, it
  // is watched from now on rather than left to run.
  for (const PortSocket& socket : SocketsOnPort(port_)) {
    if (!socket.peer || std::find(known.begin(), known.end(), socket.inode) != known.end())
      continue;
    const int duplicate = fcntl(socket.descriptor, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0) continue;
    // Another thread may have closed a descriptor found, and its number
    // been given to another file, since it was looked at.
    struct stat facts {};
    if (fstat(duplicate, &facts) != 0 || facts.st_ino != socket.inode) {
      close(duplicate);
      continue;
    }
    watched_.emplace(token, Watched{duplicate, socket.inode, socket.peer->address,
                                    socket.peer->port, Clock::now(), false});
  }
  return token;
}

void ConnectionWatch::Answered(const std::string& address, int port) {
  const std::lock_guard lock(mutex_);
  for (auto& [token, connection] : watched_)
    if (connection.port == port && connection.address == address) connection.since = Clock::now();
}

void ConnectionWatch::End(Token token) {
  const std::lock_guard lock(mutex_);
  const auto [first, last] = watched_.equal_range(token);
  for (auto held = first; held != last; ++held) close(held->second.duplicate);
  watched_.erase(first, last);
}

std::size_t ConnectionWatch::cutOff() const {
  const std::lock_guard lock(mutex_);
  return cutOff_;
}

void ConnectionWatch::Patrol() {
  const auto gap =
      std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(limit_ / kPatrolsPerLimit),
                 kShortestPatrolGap, kLongestPatrolGap);
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, gap, [this] { return stopping_; })) {
    const auto now = Clock::now();
    for (auto& [token, connection] : watched_) {
      if (connection.shut || now - connection.since <= limit_) continue;
      // Shutting the socket down wakes the thread waiting on it: its read
      // ends, and the library closes the connection.
      shutdown(connection.duplicate, SHUT_RDWR);
      connection.shut = true;
      ++cutOff_;
    }
  }
}

}  // namespace zeltra::robot
