#include "tools/robot/AddressShare.h"

#include <arpa/inet.h>

namespace zeltra::robot {

bool AddressShare::Open(const std::string& address) {
  const std::lock_guard lock(mutex_);
  std::size_t& open = open_[address];
  if (open >= perAddress_) {
    if (open == 0) open_.erase(address);
    return false;
  }
  ++open;
  return true;
}

void AddressShare::Close(const std::string& address) {
  const std::lock_guard lock(mutex_);
  const auto found = open_.find(address);
  if (found == open_.end()) return;
  if (--found->second == 0) open_.erase(found);
}

std::string ForwardedAddress(const std::string& header) {
  const std::size_t comma = header.rfind(',');
  std::string last = header.substr(comma == std::string::npos ? 0 : comma + 1);
  const std::size_t start = last.find_first_not_of(" \t");
  const std::size_t end = last.find_last_not_of(" \t");
  if (start == std::string::npos) return {};
  last = last.substr(start, end - start + 1);
  unsigned char bytes[sizeof(in6_addr)];
  if (inet_pton(AF_INET, last.c_str(), bytes) == 1 || inet_pton(AF_INET6, last.c_str(), bytes) == 1)
    return last;
  return {};
}

}  // namespace zeltra::robot
