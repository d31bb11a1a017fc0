#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace zeltra::robot {

// What the store may hold before it takes no more from strangers: uploads
// held for one call, or from one address, and the bytes of the logs not
// rejected.
struct StoreQuotas {
  std::size_t heldPerCall = 10;
  std::size_t heldPerAddress = 20;
  std::uint64_t dataBytes = 2ULL * 1024 * 1024 * 1024;
};

// An upload not kept, a quota reached: what the sender is told (entrant)
// and what the organiser is (what()).
class QuotaReached : public std::runtime_error {
 public:
  QuotaReached(const std::string& organiser, std::string entrant)
      : std::runtime_error(organiser), entrant_(std::move(entrant)) {}
  const std::string& entrant() const { return entrant_; }

 private:
  std::string entrant_;
};

}  // namespace zeltra::robot
