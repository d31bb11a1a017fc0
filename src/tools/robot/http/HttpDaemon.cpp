#include "tools/robot/http/HttpDaemon.h"

#include <sys/socket.h>

#include <stdexcept>

namespace zeltra::robot {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kWatchEvery = std::chrono::milliseconds(250);

int SocketOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
  return info == nullptr ? -1 : info->connect_fd;
}

}  // namespace

HttpDaemon::HttpDaemon(ListenSocket socket, const HttpLimits& limits, HttpHandler& handler)
    : limits_(limits), handler_(handler) {
  const unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | (socket.ipv6() ? MHD_USE_IPv6 : 0);
  const int listening = socket.Release();
  daemon_ = MHD_start_daemon(
      flags, 0, nullptr, nullptr, &HttpDaemon::Access, this, MHD_OPTION_LISTEN_SOCKET, listening,
      MHD_OPTION_THREAD_POOL_SIZE, limits_.threads, MHD_OPTION_CONNECTION_TIMEOUT,
      static_cast<unsigned>(limits_.idle.count()), MHD_OPTION_CONNECTION_MEMORY_LIMIT,
      limits_.connectionBytes, MHD_OPTION_PER_IP_CONNECTION_LIMIT, limits_.perAddress,
      MHD_OPTION_CONNECTION_LIMIT, limits_.connections, MHD_OPTION_NOTIFY_CONNECTION,
      &HttpDaemon::Notified, this, MHD_OPTION_NOTIFY_COMPLETED, &HttpDaemon::Done, this,
      MHD_OPTION_END);
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
  const std::lock_guard lock(daemon.mutex_);
  if (code == MHD_CONNECTION_NOTIFY_STARTED)
    daemon.watched_[connection] = {SocketOf(connection), Clock::now(), true};
  else
    daemon.watched_.erase(connection);
}

MHD_Result HttpDaemon::Access(void* self, MHD_Connection* connection, const char* url,
                              const char* method, const char*, const char* data, std::size_t* size,
                              void** request) {
  auto& daemon = *static_cast<HttpDaemon*>(self);
  // The first call of a request: its headers are all in.
  if (*request == nullptr) daemon.HeadersArrived(connection);
  return daemon.handler_.Handle(connection, url, method, data, size, request);
}

void HttpDaemon::Done(void* self, MHD_Connection* connection, void** request,
                      MHD_RequestTerminationCode) {
  auto& daemon = *static_cast<HttpDaemon*>(self);
  daemon.handler_.Completed(request);
  // The next request on the connection has its own time for its headers.
  const std::lock_guard lock(daemon.mutex_);
  const auto found = daemon.watched_.find(connection);
  if (found != daemon.watched_.end()) found->second = {found->second.socket, Clock::now(), true};
}

void HttpDaemon::HeadersArrived(MHD_Connection* connection) {
  const std::lock_guard lock(mutex_);
  const auto found = watched_.find(connection);
  if (found != watched_.end()) found->second.waiting = false;
}

// A connection whose headers are late is shut down; the library then sees
// it end and closes it as any other. The lock keeps a socket from being
// closed, and its number given to another, meanwhile.
void HttpDaemon::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_.wait_for(lock, kWatchEvery, [this] { return stopped_; })) {
    const Clock::time_point late = Clock::now() - limits_.headers;
    for (auto& [connection, watched] : watched_) {
      if (!watched.waiting || watched.since > late || watched.socket < 0) continue;
      shutdown(watched.socket, SHUT_RDWR);
      watched.socket = -1;
      ++cutOff_;
    }
  }
}

}  // namespace zeltra::robot
