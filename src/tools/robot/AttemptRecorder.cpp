#include "tools/robot/AttemptRecorder.h"

#include <chrono>
#include <string_view>

namespace zeltra::robot {
namespace {

constexpr auto kFlushEvery = std::chrono::seconds(1);
constexpr std::size_t kMinuteText = std::string_view("2026-12-13 23:59").size();

}  // namespace

AttemptRecorder::AttemptRecorder(UploadStore& store, std::function<void(const Attempt&)> tell,
                                 std::function<void(const std::string&)> fail)
    : store_(store), tell_(std::move(tell)), fail_(std::move(fail)) {
  thread_ = std::thread([this] { Run(); });
}

AttemptRecorder::~AttemptRecorder() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  ready_.notify_all();
  thread_.join();
}

void AttemptRecorder::Record(const Attempt& refused) {
  {
    const std::lock_guard lock(mutex_);
    if (waiting_.size() >= kMostWaiting) {
      ++dropped_;
      return;
    }
    waiting_.push_back(refused);
  }
  ready_.notify_one();
}

void AttemptRecorder::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ready_.wait_for(lock, kFlushEvery, [this] { return stopping_ || !waiting_.empty(); });
    std::deque<Attempt> taken;
    taken.swap(waiting_);
    const std::size_t dropped = dropped_;
    dropped_ = 0;
    const bool last = stopping_;
    lock.unlock();
    for (const Attempt& refused : taken) Take(refused);
    Flush();
    if (dropped > 0)
      fail_(std::to_string(dropped) + " refused uploads not recorded: the records were too slow");
    lock.lock();
    if (last && waiting_.empty()) return;
  }
}

void AttemptRecorder::Take(const Attempt& refused) {
  try {
    if (!refused.sha256.empty()) {
      tell_(refused);
      store_.Record(refused);
      return;
    }
    const Key key{refused.address, refused.status, refused.reason,
                  refused.time.substr(0, kMinuteText)};
    const auto found = counted_.find(key);
    if (found != counted_.end()) {
      ++found->second.more;
      return;
    }
    tell_(refused);
    counted_[key].record = store_.Record(refused);
  } catch (const StoreFailure& failure) {
    fail_(std::string("cannot record the attempt: ") + failure.what());
  }
}

// The counts into their records; the minutes before the newest go.
void AttemptRecorder::Flush() {
  std::string newest;
  for (auto& [key, counted] : counted_) {
    newest = std::max(newest, std::get<3>(key));
    if (counted.more == 0) continue;
    try {
      store_.CountAgain(counted.record, counted.more);
      counted.more = 0;
    } catch (const StoreFailure& failure) {
      fail_(std::string("cannot record the attempt: ") + failure.what());
    }
  }
  std::erase_if(counted_, [&](const auto& entry) {
    return std::get<3>(entry.first) < newest && entry.second.more == 0;
  });
}

}  // namespace zeltra::robot
