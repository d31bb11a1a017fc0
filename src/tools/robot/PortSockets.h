#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace zeltra::robot {

// The far end of a connection.
struct Peer {
  std::string address;  // numeric, as the HTTP library gives it
  int port = 0;
};

// A socket of this process whose local port is the one asked for.
struct PortSocket {
  int descriptor = -1;
  ino_t inode = 0;           // the socket itself, whichever descriptor
  bool listening = false;    // the socket connections are accepted from
  std::optional<Peer> peer;  // a connection's far end
};

// The process's sockets on a local port, found among its descriptors
// (Linux's /proc/self/fd): the HTTP library hands out neither the socket it
// listens on nor those it accepts.
std::vector<PortSocket> SocketsOnPort(int port);

}  // namespace zeltra::robot
