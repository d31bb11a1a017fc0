#include "tools/robot/ConnectionWatch.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <optional>
#include <vector>

namespace zeltra::robot {
namespace {

constexpr std::chrono::milliseconds kLongestPatrolGap{1000};
constexpr std::chrono::milliseconds kShortestPatrolGap{10};
constexpr int kPatrolsPerLimit = 4;

struct Endpoint {
  std::string address;
  int port = 0;
};

std::optional<Endpoint> EndpointOf(const sockaddr_storage& address) {
  std::array<char, INET6_ADDRSTRLEN> text{};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    if (inet_ntop(AF_INET, &v4.sin_addr, text.data(), text.size()) == nullptr) return std::nullopt;
    return Endpoint{text.data(), ntohs(v4.sin_port)};
  }
  if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    if (inet_ntop(AF_INET6, &v6.sin6_addr, text.data(), text.size()) == nullptr)
      return std::nullopt;
    return Endpoint{text.data(), ntohs(v6.sin6_port)};
  }
  return std::nullopt;
}

struct Connection {
  int descriptor = -1;
  ino_t socket = 0;
  Endpoint peer;
};

// The connected sockets on the local port that are not among those known.
std::vector<Connection> NewConnections(int port, const std::vector<ino_t>& known) {
  std::vector<Connection> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    int descriptor = -1;
    if (std::from_chars(name.data(), name.data() + name.size(), descriptor).ec != std::errc())
      continue;
    struct stat facts {};
    if (fstat(descriptor, &facts) != 0 || !S_ISSOCK(facts.st_mode)) continue;
    if (std::find(known.begin(), known.end(), facts.st_ino) != known.end()) continue;
    sockaddr_storage local{};
    sockaddr_storage remote{};
    socklen_t localSize = sizeof local;
    socklen_t remoteSize = sizeof remote;
    if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
        getpeername(descriptor, reinterpret_cast<sockaddr*>(&remote), &remoteSize) != 0)
      continue;
    const auto here = EndpointOf(local);
    const auto there = EndpointOf(remote);
    if (!here || !there || here->port != port) continue;
    found.push_back({descriptor, facts.st_ino, *there});
  }
  return found;
}

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
  for (const Connection& connection : NewConnections(port_, known)) {
    const int duplicate = fcntl(connection.descriptor, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0) continue;
    watched_.emplace(token, Watched{duplicate, connection.socket, connection.peer.address,
                                    connection.peer.port, Clock::now(), false});
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
