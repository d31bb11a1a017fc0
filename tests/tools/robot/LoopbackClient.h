#pragma once

// Connections to a robot on loopback, from a loopback address of the
// test's choosing (127.0.0.1 when none is named).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <string>

#include "tools/robot/store/Descriptor.h"

namespace zeltra::robot {

// A connection to port; -1 when there is none.
inline Descriptor ConnectFrom(const std::string& source, int port) {
  Descriptor connection(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!source.empty()) {
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, source.c_str(), &from.sin_addr);
    if (bind(connection.get(), reinterpret_cast<sockaddr*>(&from), sizeof from) != 0)
      return Descriptor(-1);
  }
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(connection.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0)
    return Descriptor(-1);
  return connection;
}

}  // namespace zeltra::robot
