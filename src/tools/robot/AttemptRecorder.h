#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>

#include "tools/robot/store/UploadStore.h"

namespace zeltra::robot {

// Records the refused uploads from a thread of its own, so that a store
// that is slow, or locked by another program, never holds up an event loop.
// Refusals of one address in one minute for one status and reason, no log
// read (a flood's 429s), are one record and one line told, counted; a
// refusal whose log was read is a record and a line of its own. At most
// kMostWaiting refusals wait; past that they are counted, not recorded.
class AttemptRecorder {
 public:
  static constexpr std::size_t kMostWaiting = 10000;

  AttemptRecorder(UploadStore& store, std::function<void(const Attempt&)> tell,
                  std::function<void(const std::string&)> fail);
  // Records what waits, then stops.
  ~AttemptRecorder();
  AttemptRecorder(const AttemptRecorder&) = delete;
  AttemptRecorder& operator=(const AttemptRecorder&) = delete;

  void Record(const Attempt& refused);

 private:
  using Key = std::tuple<std::string, int, std::string, std::string>;  // address, status, reason,
                                                                       // minute
  struct Counted {
    std::int64_t record = 0;
    std::int64_t more = 0;  // not yet added to the record
  };
  void Run();
  void Take(const Attempt& refused);
  void Flush();

  UploadStore& store_;
  std::function<void(const Attempt&)> tell_;
  std::function<void(const std::string&)> fail_;
  std::map<Key, Counted> counted_;  // this minute's and the last one's
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Attempt> waiting_;
  std::size_t dropped_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zeltra::robot
