#include "tools/robot/http/ListenSocket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <memory>

namespace zeltra::robot {
namespace {

struct FreeAddresses {
  void operator()(addrinfo* addresses) const { freeaddrinfo(addresses); }
};

}  // namespace

ListenSocket::ListenSocket(const std::string& host, int port) : socket_(-1) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0)
    return;
  const std::unique_ptr<addrinfo, FreeAddresses> addresses(found);
  for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
    Descriptor candidate(
        socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol));
    if (candidate.get() < 0) continue;
    const int yes = 1;
    setsockopt(candidate.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(candidate.get(), address->ai_addr, address->ai_addrlen) != 0 ||
        listen(candidate.get(), SOMAXCONN) != 0)
      continue;
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    if (getsockname(candidate.get(), reinterpret_cast<sockaddr*>(&bound), &size) != 0) continue;
    ipv6_ = bound.ss_family == AF_INET6;
    port_ = ntohs(ipv6_ ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                        : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    socket_ = std::move(candidate);
    return;
  }
}

}  // namespace zeltra::robot
