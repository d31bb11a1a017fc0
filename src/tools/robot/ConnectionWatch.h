#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace zeltra::robot {

// Bounds the time one request may take, from its first byte to its answer.
// The HTTP library's timeouts bound each read, so a client that trickles a
// byte every few seconds could keep a thread for as long as it liked; the
// watch shuts such a connection down once its request has run past the
// limit, and the thread goes back to the others.
//
// The library does not hand out the sockets it accepts, so the watch finds
// each new one among the process's sockets on the port right after it is
// accepted, and holds a duplicate of it until the connection ends, so that
// the descriptor it shuts down is always the one it means.
class ConnectionWatch {
 public:
  using Clock = std::chrono::steady_clock;
  using Token = std::uint64_t;

  explicit ConnectionWatch(std::chrono::milliseconds limit);
  ~ConnectionWatch();
  ConnectionWatch(const ConnectionWatch&) = delete;
  ConnectionWatch& operator=(const ConnectionWatch&) = delete;

  // The port whose accepted connections are watched.
  void Watch(int port);
  // On the accepting thread, right after a connection is accepted: starts
  // its clock. The token ends it.
  Token Begin();
  // A request on the connection from this peer was answered: the next one
  // on it has the whole limit again.
  void Answered(const std::string& address, int port);
  // The connection is closed: its duplicate goes.
  void End(Token token);

  // Connections shut down for taking too long, since the start.
  std::size_t cutOff() const;

 private:
  struct Watched {
    int duplicate = -1;
    ino_t socket = 0;
    std::string address;
    int port = 0;
    Clock::time_point since;
    bool shut = false;
  };
  void Patrol();

  std::chrono::milliseconds limit_;
  int port_ = -1;
  Token next_ = 0;
  std::multimap<Token, Watched> watched_;
  std::size_t cutOff_ = 0;
  bool stopping_ = false;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread patrol_;
};

}  // namespace zeltra::robot
