#include "tools/robot/PortSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <array>
#include <charconv>
#include <filesystem>

namespace zeltra::robot {
namespace {

std::optional<Peer> EndpointOf(const sockaddr_storage& address) {
  std::array<char, INET6_ADDRSTRLEN> text{};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    if (inet_ntop(AF_INET, &v4.sin_addr, text.data(), text.size()) == nullptr) return std::nullopt;
    return Peer{text.data(), ntohs(v4.sin_port)};
  }
  if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    if (inet_ntop(AF_INET6, &v6.sin6_addr, text.data(), text.size()) == nullptr)
      return std::nullopt;
    return Peer{text.data(), ntohs(v6.sin6_port)};
  }
  return std::nullopt;
}

}  // namespace

std::vector<PortSocket> SocketsOnPort(int port) {
  std::vector<PortSocket> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    int descriptor = -1;
    if (std::from_chars(name.data(), name.data() + name.size(), descriptor).ec != std::errc())
      continue;
    struct stat facts {};
    if (fstat(descriptor, &facts) != 0 || !S_ISSOCK(facts.st_mode)) continue;
    sockaddr_storage local{};
    socklen_t localSize = sizeof local;
    if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &localSize) != 0) continue;
    const auto here = EndpointOf(local);
    if (!here || here->port != port) continue;
    PortSocket socket{descriptor, facts.st_ino, false, std::nullopt};
    int accepting = 0;
    socklen_t flagSize = sizeof accepting;
    socket.listening =
        getsockopt(descriptor, SOL_SOCKET, SO_ACCEPTCONN, &accepting, &flagSize) == 0 &&
        accepting != 0;
    sockaddr_storage remote{};
    socklen_t remoteSize = sizeof remote;
    if (getpeername(descriptor, reinterpret_cast<sockaddr*>(&remote), &remoteSize) == 0)
      socket.peer = EndpointOf(remote);
    found.push_back(std::move(socket));
  }
  return found;
}

}  // namespace zeltra::robot
