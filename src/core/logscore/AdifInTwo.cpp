#include "core/logscore/AdifInTwo.h"

#include <atomic>
#include <cstddef>
#include <future>
#include <optional>
#include <utility>

#include "core/logfile/AdifReader.h"
#include "core/logscore/AdifLogPart.h"
#include "core/parallel/Threads.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zeltra {
namespace {

// The part of a log from the end of the first record after its middle on.
class SecondPart {
 public:
  SecondPart(std::istream& in, std::uint64_t middle, const ReadOptions& options)
      : in_(in), middle_(middle), part_(options) {}

  // Runs on the part's own thread.
  void Read() {
    bool told = false;
    try {
      AdifReader reader(in_, middle_);
      AdifRecord record;
      const bool any = reader.Next(record);
      start_.set_value(any ? std::optional<std::uint64_t>(reader.Offset()) : std::nullopt);
      told = true;
      while (!stop_.load(std::memory_order_relaxed) && reader.Next(record))
        if (!part_.Take(record)) break;
      whole_ = !stop_.load(std::memory_order_relaxed) && !in_.bad();
    } catch (...) {
      if (!told) start_.set_value(std::nullopt);
    }
  }

  // Where the part's records begin; none when it has none. Waits for it.
  std::optional<std::uint64_t> Start() { return starts_.get(); }
  // Asks the reading to stop: its records are not wanted.
  void Stop() { stop_.store(true, std::memory_order_relaxed); }
  // Once its thread is done: whether it read its part to the end.
  bool whole() const { return whole_; }
  AdifLogPart& part() { return part_; }

 private:
  std::istream& in_;
  const std::uint64_t middle_;
  AdifLogPart part_;
  std::promise<std::optional<std::uint64_t>> start_;
  std::future<std::optional<std::uint64_t>> starts_ = start_.get_future();
  std::atomic<bool> stop_{false};
  bool whole_ = false;
};

// What the second part's thread allocated came from a heap of its own,
// which keeps what is freed there (its lists, once joined) unless asked to
// give it back: asked, so that reading in two costs no more memory than
// reading in one.
void GiveBackFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace

LogContents ReadAdifLogInTwo(std::istream& whole, std::istream& fromMiddle, std::uint64_t middle,
                             const ReadOptions& options) {
  SecondPart second(fromMiddle, middle, options);
  Threads thread;
  if (!thread.Start([&second] { second.Read(); })) {
    AdifReader reader(whole);
    return ReadAdifLog(reader, options);
  }
  AdifLogPart first(options);
  AdifReader reader(whole);
  AdifRecord record;
  bool asked = false;
  std::optional<std::uint64_t> joinAt;
  while (reader.Next(record) && first.Take(record)) {
    const std::uint64_t at = reader.Offset();
    if (!asked && at >= middle) {
      asked = true;
      joinAt = second.Start();
    }
    if (!joinAt || at < *joinAt) continue;
    if (at == *joinAt) {
      thread.Join();
      // The second part's first record, numbered 1 there, is the one just read.
      if (second.whole() && first.Join(std::move(second.part()), record.number - 1)) {
        GiveBackFreedMemory();
        return first.Finish();
      }
    }
    // A record ran over where the second part took one to end, or the
    // second part cannot be joined: this reading goes on alone.
    joinAt.reset();
    second.Stop();
  }
  second.Stop();
  thread.Join();
  return first.Finish();
}

}  // namespace zeltra
