#include "tools/robot/mail/ReceiptKeys.h"

namespace zeltra::robot {

void ReceiptKeys::Keep(std::int64_t log, const std::string& key) {
  const std::lock_guard lock(mutex_);
  if (keys_.insert_or_assign(log, key).second) order_.push_back(log);
  while (keys_.size() > kMost && !order_.empty()) {
    keys_.erase(order_.front());
    order_.pop_front();
  }
  // Logs forgotten leave their place in the order; it is tidied when it
  // is twice what is kept.
  if (order_.size() > 2 * kMost) {
    std::deque<std::int64_t> kept;
    for (const std::int64_t id : order_)
      if (keys_.count(id) != 0) kept.push_back(id);
    order_ = std::move(kept);
  }
}

std::optional<std::string> ReceiptKeys::Find(std::int64_t log) const {
  const std::lock_guard lock(mutex_);
  const auto found = keys_.find(log);
  return found == keys_.end() ? std::nullopt : std::optional(found->second);
}

void ReceiptKeys::Forget(std::int64_t log) {
  const std::lock_guard lock(mutex_);
  keys_.erase(log);
}

}  // namespace zeltra::robot
