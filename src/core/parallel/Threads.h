#pragma once

#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace zeltra {

// The threads one piece of work starts, joined when it is done. A thread
// that cannot be started is no failure: the caller then does that part of
// the work itself.
class Threads {
 public:
  Threads() = default;
  ~Threads() { Join(); }
  Threads(const Threads&) = delete;
  Threads& operator=(const Threads&) = delete;

  // false: no thread could be had.
  template <typename Work>
  bool Start(Work&& work) {
    try {
      threads_.emplace_back(std::forward<Work>(work));
      return true;
    } catch (const std::system_error&) {
      return false;
    }
  }

  bool empty() const { return threads_.empty(); }

  void Join() {
    for (std::thread& thread : threads_)
      if (thread.joinable()) thread.join();
    threads_.clear();
  }

 private:
  std::vector<std::thread> threads_;
};

}  // namespace zeltra
