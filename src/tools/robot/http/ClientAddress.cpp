#include "tools/robot/http/ClientAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

namespace zeltra::robot {
namespace {

constexpr std::size_t kNetworkBytes = 8;  // of an IPv6 address, its /64

}  // namespace

std::string AddressText(const sockaddr* address) {
  if (address == nullptr) return "";
  char text[INET6_ADDRSTRLEN] = {};
  if (address->sa_family == AF_INET6) {
    const auto* six = reinterpret_cast<const sockaddr_in6*>(address);
    if (IN6_IS_ADDR_V4MAPPED(&six->sin6_addr))
      inet_ntop(AF_INET, &six->sin6_addr.s6_addr[12], text, sizeof text);
    else
      inet_ntop(AF_INET6, &six->sin6_addr, text, sizeof text);
  } else if (address->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  }
  return text;
}

std::string ShareKey(const std::string& address) {
  in6_addr six{};
  if (address.find(':') == std::string::npos || inet_pton(AF_INET6, address.c_str(), &six) != 1)
    return address;
  std::memset(&six.s6_addr[kNetworkBytes], 0, sizeof six.s6_addr - kNetworkBytes);
  char text[INET6_ADDRSTRLEN] = {};
  inet_ntop(AF_INET6, &six, text, sizeof text);
  return std::string(text) + "/64";
}

}  // namespace zeltra::robot
