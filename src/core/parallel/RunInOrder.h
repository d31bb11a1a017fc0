#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <vector>

#include "core/parallel/Threads.h"

namespace zeltra {

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
  struct Slot {
    std::optional<Result> result;
    std::exception_ptr failure;
    bool done = false;
  };
  const std::size_t waiting = 2 * jobs;
  std::vector<Slot> slots(count);
  std::mutex mutex;
  std::condition_variable finished;  // a slot is done
  std::condition_variable consumed;  // room for more work
  std::size_t claimed = 0;
  std::size_t taken = 0;
  bool stopping = false;
  const auto worker = [&] {
    for (;;) {
      std::size_t i;
      {
        std::unique_lock lock(mutex);
        consumed.wait(lock,
                      [&] { return stopping || claimed == count || claimed < taken + waiting; });
        if (stopping || claimed == count) return;
        i = claimed++;
      }
      Slot slot;
      try {
        slot.result.emplace(work(i));
      } catch (...) {
        slot.failure = std::current_exception();
      }
      slot.done = true;
      {
        std::lock_guard lock(mutex);
        slots[i] = std::move(slot);
      }
      finished.notify_all();
    }
  };
  Threads threads;
  const auto stop = [&] {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    consumed.notify_all();
    threads.Join();
  };
  // No more threads to be had: those started do the work, or this one.
  for (std::size_t t = 0; t < jobs && t < count; ++t)
    if (!threads.Start(worker)) break;
  if (threads.empty()) return here();
  try {
    for (std::size_t i = 0; i < count; ++i) {
      Slot slot;
      {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return slots[i].done; });
        slot = std::move(slots[i]);
        slots[i] = Slot{};
        taken = i + 1;
      }
      consumed.notify_all();
      if (slot.failure) std::rethrow_exception(slot.failure);
      consume(i, std::move(*slot.result));
    }
  } catch (...) {
    stop();
    throw;
  }
  stop();
}

}  // namespace zeltra
