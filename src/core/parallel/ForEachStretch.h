#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <vector>

#include "core/parallel/Threads.h"

namespace zeltra {

// Splits [0, count) into one stretch per thread and runs each(part, begin,
// end) on its own thread, the last on the calling one; returns when all
// are done, throwing again what one of them threw. startOf(at) moves a
// stretch's start forward to where it may begin (so that a group of
// entries is never split between two threads).
template <typename StartOf, typename Each>
void ForEachStretch(std::size_t count, std::size_t threads, StartOf startOf, Each each) {
  constexpr std::size_t kFewestPerThread = 4096;  // fewer are not worth a thread
  threads = std::max<std::size_t>(1, std::min(threads, count / kFewestPerThread));
  std::vector<std::size_t> starts(threads + 1, count);
  starts[0] = 0;
  for (std::size_t part = 1; part < threads; ++part)
    starts[part] = std::max(starts[part - 1], std::min(count, startOf(count * part / threads)));
  std::vector<std::exception_ptr> failures(threads);
  const auto run = [&](std::size_t part) {
    try {
      each(part, starts[part], starts[part + 1]);
    } catch (...) {
      failures[part] = std::current_exception();
    }
  };
  {
    Threads running;
    for (std::size_t part = 0; part + 1 < threads; ++part)
      if (!running.Start([&run, part] { run(part); })) run(part);
    run(threads - 1);
  }
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

}  // namespace zeltra
