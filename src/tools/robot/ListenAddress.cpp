#include "tools/robot/ListenAddress.h"

namespace zeltra::robot {
namespace {

constexpr int kHighestPort = 65535;
constexpr std::size_t kLongestPort = 5;

}  // namespace

std::optional<ListenAddress> ParseListenAddress(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  const std::string port = text.substr(colon + 1);
  if (port.empty() || port.size() > kLongestPort ||
      port.find_first_not_of("0123456789") != std::string::npos || std::stoi(port) > kHighestPort)
    return std::nullopt;
  std::string host = text.substr(0, colon);
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return std::nullopt;
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string::npos) {
    return std::nullopt;  // an IPv6 address without its brackets
  }
  return ListenAddress{host, std::stoi(port)};
}

const CLI::Validator kListenAddress(
    [](std::string& text) -> std::string {
      if (ParseListenAddress(text)) return {};
      return "an address and port such as 127.0.0.1:8080 or [::1]:8080, not \"" + text + "\"";
    },
    "ADDR:PORT");

}  // namespace zeltra::robot
