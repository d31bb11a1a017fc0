// The sockets of this process on a port, found as the robot finds the
// connections it accepts: listening or connected, with the far end, over
// IPv4 and (where the machine has it) IPv6.

#include "tools/robot/PortSockets.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "tools/robot/store/Descriptor.h"

namespace zeltra::robot {
namespace {

// The local port a socket is bound to.
int PortOf(int descriptor) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &size);
  return address.ss_family == AF_INET6
             ? ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port)
             : ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

TEST(PortSockets, TheListeningSocketAndEachConnectionAreFoundWithTheFarEnd) {
  struct Family {
    int family;
    const char* loopback;
  };
  for (const Family& family : {Family{AF_INET, "127.0.0.1"}, Family{AF_INET6, "::1"}}) {
    SCOPED_TRACE(family.loopback);
    sockaddr_storage address{};
    socklen_t size = 0;
    if (family.family == AF_INET) {
      auto& v4 = reinterpret_cast<sockaddr_in&>(address);
      v4.sin_family = AF_INET;
      inet_pton(AF_INET, family.loopback, &v4.sin_addr);
      size = sizeof v4;
    } else {
      auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
      v6.sin6_family = AF_INET6;
      inet_pton(AF_INET6, family.loopback, &v6.sin6_addr);
      size = sizeof v6;
    }
    const Descriptor listening(socket(family.family, SOCK_STREAM, 0));
    if (listening.get() < 0 ||
        bind(listening.get(), reinterpret_cast<sockaddr*>(&address), size) != 0) {
      ASSERT_EQ(family.family, AF_INET6) << "no IPv4 loopback";
      continue;  // a machine without IPv6
    }
    ASSERT_EQ(listen(listening.get(), 4), 0);
    const int port = PortOf(listening.get());
    EXPECT_EQ(SocketsOnPort(port).size(), 1U);

    const Descriptor client(socket(family.family, SOCK_STREAM, 0));
    reinterpret_cast<sockaddr_in&>(address).sin_port = htons(static_cast<std::uint16_t>(port));
    ASSERT_EQ(connect(client.get(), reinterpret_cast<sockaddr*>(&address), size), 0);
    const Descriptor accepted(accept(listening.get(), nullptr, nullptr));
    ASSERT_GE(accepted.get(), 0);

    // The client's own socket is on another port: not among them.
    const std::vector<PortSocket> found = SocketsOnPort(port);
    ASSERT_EQ(found.size(), 2U);
    const auto listener =
        std::find_if(found.begin(), found.end(), [](const PortSocket& s) { return s.listening; });
    const auto connection =
        std::find_if(found.begin(), found.end(), [](const PortSocket& s) { return !s.listening; });
    ASSERT_NE(listener, found.end());
    ASSERT_NE(connection, found.end());
    EXPECT_EQ(listener->descriptor, listening.get());
    EXPECT_FALSE(listener->peer);
    EXPECT_EQ(connection->descriptor, accepted.get());
    ASSERT_TRUE(connection->peer);
    EXPECT_EQ(connection->peer->address, family.loopback);
    EXPECT_EQ(connection->peer->port, PortOf(client.get()));
    EXPECT_NE(connection->inode, listener->inode);
  }
}

}  // namespace
}  // namespace zeltra::robot
