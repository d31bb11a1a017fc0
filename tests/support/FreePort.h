#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zeltra::testing {

// A loopback port no one listens on just now: bound to port 0, read back,
// and let go, for a program started to listen on it.
inline int FreeLoopbackPort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  if (probe < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  close(probe);
  return port;
}

}  // namespace zeltra::testing
