#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace zeltra::robot {

// How many uploads each address may make in a minute: a flood from one
// address is refused while the others go on. Memory holds the last
// minute's uploads, never more.
class UploadRate {
 public:
  using Clock = std::chrono::steady_clock;
  explicit UploadRate(std::size_t perMinute) : perMinute_(perMinute) {}

  // Counts an upload from address at now; false: over the limit (not counted).
  bool Allow(const std::string& address, Clock::time_point now);

 private:
  std::size_t perMinute_;  // 0: no limit
  std::map<std::string, std::deque<Clock::time_point>> recent_;
  Clock::time_point lastSweep_{};
  std::mutex mutex_;
};

}  // namespace zeltra::robot
