#include "tools/robot/http/HttpDaemon.h"

#include <sys/socket.h>

#include <stdexcept>

#include "tools/robot/http/ClientAddress.h"

namespace zeltra::robot {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kWatchEvery = std::chrono::milliseconds(250);
// Connections an address may hold, for each request it may have in progress.
constexpr unsigned kConnectionsPerRequest = 2;
// Once this share of the connections is taken (seven in eight), a new
// connection of an address that already holds kCrowded is answered busy:
// the rest are kept for addresses new to the server.
constexpr unsigned kCrowdedFromOneIn = 8;
constexpr unsigned kCrowded = 2;
// And a request's headers must then all arrive within this: an honest
// client sends them at once, and the connections that wait for theirs go.
constexpr auto kCrowdedHeaders = std::chrono::seconds(1);

int SocketOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
  return info == nullptr ? -1 : info->connect_fd;
}

}  // namespace

HttpDaemon::HttpDaemon(ListenSocket socket, const HttpLimits& limits, HttpHandler& handler)
    : limits_(limits), handler_(handler) {
  const unsigned flags =
      MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME | (socket.ipv6() ? MHD_USE_IPv6 : 0);
  const int listening = socket.Release();
  daemon_ = MHD_start_daemon(
      flags, 0, &HttpDaemon::Admit, this, &HttpDaemon::Access, this, MHD_OPTION_LISTEN_SOCKET,
      listening, MHD_OPTION_THREAD_POOL_SIZE, limits_.threads, MHD_OPTION_CONNECTION_TIMEOUT,
      static_cast<unsigned>(limits_.idle.count()), MHD_OPTION_CONNECTION_MEMORY_LIMIT,
      limits_.connectionBytes, MHD_OPTION_CONNECTION_LIMIT, limits_.connections,
      MHD_OPTION_NOTIFY_CONNECTION, &HttpDaemon::Notified, this, MHD_OPTION_NOTIFY_COMPLETED,
      &HttpDaemon::Done, this, MHD_OPTION_END);
  if (daemon_ == nullptr) {
    close(listening);
    throw std::runtime_error("the HTTP server could not start");
  }
  watch_ = std::thread([this] { Watch(); });
}

HttpDaemon::~HttpDaemon() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  stopping_.notify_all();
  watch_.join();
  // The library closes the listening socket it was given.
  MHD_stop_daemon(daemon_);
}

void HttpDaemon::Notified(void* self, MHD_Connection* connection, void**,
                          MHD_ConnectionNotificationCode code) {
  auto& daemon = *static_cast<HttpDaemon*>(self);
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  const std::lock_guard lock(daemon.mutex_);
  if (code == MHD_CONNECTION_NOTIFY_STARTED) {
    const std::string address = AddressText(info == nullptr ? nullptr : info->client_addr);
    std::string share = address == daemon.limits_.exempt ? std::string() : ShareKey(address);
    const unsigned crowdedAt =
        daemon.limits_.connections - daemon.limits_.connections / kCrowdedFromOneIn;
    bool crowded = false;
    if (!share.empty()) {
      const unsigned held = daemon.open_[share]++;
      crowded = daemon.total_ >= crowdedAt && held >= kCrowded;
    }
    ++daemon.total_;
    daemon.watched_[connection] = {SocketOf(connection), Clock::now(), true, std::move(share),
                                   crowded};
    return;
  }
  const auto found = daemon.watched_.find(connection);
  if (found == daemon.watched_.end()) return;
  --daemon.total_;
  const auto open = daemon.open_.find(found->second.share);
  if (open != daemon.open_.end() && --open->second == 0) daemon.open_.erase(open);
  daemon.watched_.erase(found);
}

// A new connection is taken while its address holds fewer than its share
// of connections. Counted once started: the threads of the pool may each
// let one more through at the same moment.
MHD_Result HttpDaemon::Admit(void* self, const sockaddr* address, socklen_t) {
  auto& daemon = *static_cast<HttpDaemon*>(self);
  const std::string text = AddressText(address);
  if (text == daemon.limits_.exempt) return MHD_YES;
  const std::string share = ShareKey(text);
  const std::lock_guard lock(daemon.mutex_);
  const auto found = daemon.open_.find(share);
  const unsigned open = found == daemon.open_.end() ? 0 : found->second;
  return open < daemon.limits_.perAddress * kConnectionsPerRequest ? MHD_YES : MHD_NO;
}

MHD_Result HttpDaemon::Access(void* self, MHD_Connection* connection, const char* url,
                              const char* method, const char*, const char* data, std::size_t* size,
                              void** request) {
  auto& daemon = *static_cast<HttpDaemon*>(self);
  // The first call of a request: its headers are all in.
  if (*request == nullptr && daemon.HeadersArrived(connection))
    return daemon.handler_.Busy(connection, request);
  return daemon.handler_.Handle(connection, url, method, data, size, request);
}

void HttpDaemon::Done(void* self, MHD_Connection* connection, void** request,
                      MHD_RequestTerminationCode) {
  auto& daemon = *static_cast<HttpDaemon*>(self);
  daemon.handler_.Completed(request);
  // The next request on the connection has its own time for its headers.
  const std::lock_guard lock(daemon.mutex_);
  const auto found = daemon.watched_.find(connection);
  if (found != daemon.watched_.end()) {
    found->second.since = Clock::now();
    found->second.waiting = true;
  }
}

bool HttpDaemon::HeadersArrived(MHD_Connection* connection) {
  const std::lock_guard lock(mutex_);
  const auto found = watched_.find(connection);
  if (found == watched_.end()) return false;
  found->second.waiting = false;
  return found->second.crowded;
}

// A connection whose headers are late (sooner when the server is crowded)
// is shut down; the library then sees
// it end and closes it as any other. The lock keeps a socket from being
// closed, and its number given to another, meanwhile.
void HttpDaemon::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_.wait_for(lock, kWatchEvery, [this] { return stopped_; })) {
    const unsigned crowded = limits_.connections - limits_.connections / kCrowdedFromOneIn;
    const Clock::time_point late =
        Clock::now() - (total_ >= crowded ? std::min<std::chrono::steady_clock::duration>(
                                                kCrowdedHeaders, limits_.headers)
                                          : limits_.headers);
    for (auto& [connection, watched] : watched_) {
      if (!watched.waiting || watched.since > late || watched.socket < 0) continue;
      shutdown(watched.socket, SHUT_RDWR);
      watched.socket = -1;
      ++cutOff_;
    }
  }
}

}  // namespace zeltra::robot
