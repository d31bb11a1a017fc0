#pragma once

#include <string>

#include "tools/robot/store/Descriptor.h"

namespace zeltra::robot {

// A socket listening on host:port (port 0: any free one), with the
// system's longest queue, IPv4 or IPv6 as the host is. The address may be
// taken again at once after a robot stopped (SO_REUSEADDR), but never
// shared with another listening robot (no SO_REUSEPORT).
class ListenSocket {
 public:
  // A socket that could not be opened has descriptor() -1.
  ListenSocket(const std::string& host, int port);

  int descriptor() const { return socket_.get(); }
  int port() const { return port_; }
  bool ipv6() const { return ipv6_; }
  // Hands the socket on to its new owner, who closes it.
  int Release() { return socket_.Release(); }

 private:
  Descriptor socket_;
  int port_ = 0;
  bool ipv6_ = false;
};

}  // namespace zeltra::robot
