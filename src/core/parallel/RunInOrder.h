#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <vector>

#include "core/parallel/Threads.h"

namespace zeltra {

namespace ordered {

// The results of work(0) ... work(count - 1), made on worker threads and
// taken in order: a worker claims the next index only while fewer than
// waiting results wait to be taken.
template <typename Result, typename Work>
class Results {
 public:
  Results(std::size_t count, std::size_t waiting, Work& work)
      : count_(count), waiting_(waiting), work_(work), slots_(count) {}

  // A worker thread's loop: claims indexes, and leaves each one's result,
  // or what its work threw, in its slot; ends at the last index, or when
  // stopped.
  void Make() {
    std::size_t i = 0;
    while (Claim(i)) {
      Slot slot;
      try {
        slot.result.emplace(work_(i));
      } catch (...) {
        slot.failure = std::current_exception();
      }
      slot.done = true;
      {
        std::lock_guard lock(mutex_);
        slots_[i] = std::move(slot);
      }
      finished_.notify_all();
    }
  }

  // The result of i, waited for; what its work threw is thrown here.
  Result Take(std::size_t i) {
    Slot slot;
    {
      std::unique_lock lock(mutex_);
      finished_.wait(lock, [&] { return slots_[i].done; });
      slot = std::move(slots_[i]);
      slots_[i] = Slot{};
      taken_ = i + 1;
    }
    consumed_.notify_all();
    if (slot.failure) std::rethrow_exception(slot.failure);
    return std::move(*slot.result);
  }

  // No index is claimed from now on.
  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    consumed_.notify_all();
  }

 private:
  struct Slot {
    std::optional<Result> result;
    std::exception_ptr failure;
    bool done = false;
  };

  // The next index once there is room for its result; false when there
  // is none left, or the run stops.
  bool Claim(std::size_t& i) {
    std::unique_lock lock(mutex_);
    consumed_.wait(lock,
                   [&] { return stopping_ || claimed_ == count_ || claimed_ < taken_ + waiting_; });
    if (stopping_ || claimed_ == count_) return false;
    i = claimed_++;
    return true;
  }

  const std::size_t count_;
  const std::size_t waiting_;
  Work& work_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable finished_;  // a slot is done
  std::condition_variable consumed_;  // room for more work
  std::size_t claimed_ = 0;
  std::size_t taken_ = 0;
  bool stopping_ = false;
};

}  // namespace ordered

// Runs work(i) for every i below count on up to jobs threads, and hands
// each result to consume(i, result) on the calling thread in the order of
// i, whatever order the work ends in: what is written stays the same
// however many threads there are. At most twice as many results as
// threads wait to be consumed, so memory stays that of a few at a time.
// An exception from work is thrown again from here, in its turn.
template <typename Result, typename Work, typename Consume>
void RunInOrder(std::size_t count, std::size_t jobs, Work work, Consume consume) {
  const auto here = [&] {
    for (std::size_t i = 0; i < count; ++i) consume(i, work(i));
  };
  if (jobs <= 1 || count <= 1) return here();
  ordered::Results<Result, Work> results(count, 2 * jobs, work);
  Threads threads;
  const auto stop = [&] {
    results.Stop();
    threads.Join();
  };
  // No more threads to be had: those started do the work, or this one.
  for (std::size_t t = 0; t < jobs && t < count; ++t)
    if (!threads.Start([&] { results.Make(); })) break;
  if (threads.empty()) return here();
  try {
    for (std::size_t i = 0; i < count; ++i) consume(i, results.Take(i));
  } catch (...) {
    stop();
    throw;
  }
  stop();
}

}  // namespace zeltra
