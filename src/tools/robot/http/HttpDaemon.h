#pragma once

#include <microhttpd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "tools/robot/http/ListenSocket.h"

namespace zeltra::robot {

// What one client may hold of the server. Every connection is served from
// an event loop: a slow or idle client holds a connection slot and a few
// kilobytes, never a thread.
struct HttpLimits {
  // A connection that sends nothing this long is closed.
  std::chrono::seconds idle{10};
  // A request's line and headers must all arrive within this, counted from
  // its first byte (or the end of the answer before it).
  std::chrono::seconds headers{10};
  // A connection's memory, its request line and headers within it.
  std::size_t connectionBytes = 32 * 1024;
  // Requests in progress at once from one address (IPv6: one /64); it may
  // hold twice as many connections, so that a client past its share is
  // answered; past that, a new connection is closed at once.
  unsigned perAddress = 16;
  // Connections in all; once seven in eight are taken, a request on a new
  // connection of an address that holds two already is answered "busy",
  // and headers must come within a second, so that a new client is served.
  unsigned connections = 4000;
  // An address no share applies to: a reverse proxy's, which carries many
  // clients' requests (each still held to its share by the handler).
  std::string exempt;
  // Event loops, each on a thread of its own.
  unsigned threads = 4;
};

// What serves the requests: called by libmicrohttpd as its access handler
// (see MHD_AccessHandlerCallback; *request is null on a request's first
// call, once its headers are in), and when a request is done with.
class HttpHandler {
 public:
  virtual ~HttpHandler() = default;
  virtual MHD_Result Handle(MHD_Connection* connection, const char* url, const char* method,
                            const char* data, std::size_t* size, void** request) = 0;
  virtual void Completed(void** request) = 0;
  // Instead of Handle, a request's first call when its connection came
  // while the server was crowded, from an address that held two already:
  // it is to be answered "busy" at once.
  virtual MHD_Result Busy(MHD_Connection* connection, void** request) = 0;
};

// libmicrohttpd serving a listening socket, from start to stop. Besides
// the library's own limits, a watch closes each connection whose request
// headers take longer than limits.headers.
class HttpDaemon {
 public:
  // Throws std::runtime_error when the library cannot start.
  HttpDaemon(ListenSocket socket, const HttpLimits& limits, HttpHandler& handler);
  ~HttpDaemon();
  HttpDaemon(const HttpDaemon&) = delete;
  HttpDaemon& operator=(const HttpDaemon&) = delete;

  // Connections closed for sending their headers too slowly.
  std::size_t cutOff() const { return cutOff_; }

 private:
  struct Watched {
    int socket = -1;
    std::chrono::steady_clock::time_point since;
    bool waiting = true;   // for a request's headers
    std::string share;     // the ShareKey its connections count under; empty: none
    bool crowded = false;  // came when the server was crowded, its address holding others
  };
  static MHD_Result Admit(void* self, const sockaddr* address, socklen_t length);
  static void Notified(void* self, MHD_Connection* connection, void** context,
                       MHD_ConnectionNotificationCode code);
  static MHD_Result Access(void* self, MHD_Connection* connection, const char* url,
                           const char* method, const char* version, const char* data,
                           std::size_t* size, void** request);
  static void Done(void* self, MHD_Connection* connection, void** request,
                   MHD_RequestTerminationCode code);
  // A request's headers are in: its connection's header clock stops.
  // True: the connection came crowded (see HttpHandler::Busy).
  bool HeadersArrived(MHD_Connection* connection);
  void Watch();

  HttpLimits limits_;
  HttpHandler& handler_;
  std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopped_ = false;
  std::map<MHD_Connection*, Watched> watched_;
  std::map<std::string, unsigned> open_;  // connections by ShareKey
  unsigned total_ = 0;                    // connections, the exempt's too
  std::atomic<std::size_t> cutOff_{0};
  MHD_Daemon* daemon_ = nullptr;
  std::thread watch_;
};

}  // namespace zeltra::robot
