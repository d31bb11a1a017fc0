#include "tools/robot/UploadRate.h"

namespace zeltra::robot {

bool UploadRate::Allow(const std::string& address, Clock::time_point now) {
  if (perMinute_ == 0) return true;
  constexpr auto kMinute = std::chrono::minutes(1);
  std::lock_guard lock(mutex_);
  // Once a minute, the addresses whose uploads are all older go.
  if (now - lastSweep_ >= kMinute) {
    for (auto it = recent_.begin(); it != recent_.end();)
      it = !it->second.empty() && now - it->second.back() < kMinute ? std::next(it)
                                                                    : recent_.erase(it);
    lastSweep_ = now;
  }
  std::deque<Clock::time_point>& times = recent_[address];
  while (!times.empty() && now - times.front() >= kMinute) times.pop_front();
  if (times.size() >= perMinute_) return false;
  times.push_back(now);
  return true;
}

}  // namespace zeltra::robot
