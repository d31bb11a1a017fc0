#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace zeltra::robot {

// Where the robot listens: a host name or address, and a port (0: any
// free one).
struct ListenAddress {
  std::string host;
  int port = 0;
};

// "HOST:PORT", "[IPv6]:PORT" ("[::1]:8080", "[::]:8080"); none when it is
// not one, or the port is past 65535.
std::optional<ListenAddress> ParseListenAddress(const std::string& text);

// The option's check, worded for the command line.
extern const CLI::Validator kListenAddress;

}  // namespace zeltra::robot
