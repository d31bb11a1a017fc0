#pragma once

#include <sys/socket.h>

#include <string>

namespace zeltra::robot {

// A client's address as text: IPv4 dotted (an IPv4-mapped IPv6 address
// too), IPv6 as inet_ntop writes it; empty when there is none.
std::string AddressText(const sockaddr* address);

// What a client's share is counted by: an IPv4 address alone, an IPv6
// address by its /64 (one site's whole network, "2001:db8:1:2::/64"), as a
// stranger may be given a /64 and every address in it.
std::string ShareKey(const std::string& address);

}  // namespace zeltra::robot
