#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace zeltra::robot {

// How many requests each address has open at once, for requests that come
// through a proxy (whose connections all share the proxy's address): a
// request past the share is refused. Memory holds the addresses with a
// request open, never more.
class AddressShare {
 public:
  explicit AddressShare(std::size_t perAddress) : perAddress_(perAddress) {}

  // Counts a request of address; false: past its share (not counted).
  bool Open(const std::string& address);
  // A counted request is done.
  void Close(const std::string& address);

 private:
  std::size_t perAddress_;
  std::map<std::string, std::size_t> open_;
  std::mutex mutex_;
};

// The client's address from an X-Forwarded-For header: its last entry, the
// one the proxy added, when it is an IPv4 or IPv6 address; else empty.
std::string ForwardedAddress(const std::string& header);

}  // namespace zeltra::robot
