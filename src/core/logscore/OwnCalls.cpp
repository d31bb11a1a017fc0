#include "core/logscore/OwnCalls.h"

#include <algorithm>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// A log names one own call, now and then two (an operator's own beside the
// station's); past a few, a call is counted, not kept.
constexpr std::size_t kKeptCalls = 4;

}  // namespace

void OwnCalls::Named(std::string_view call, std::size_t record) {
  Count(call, record, 1);
}

void OwnCalls::Count(std::string_view call, std::size_t first, std::size_t count) {
  for (Seen& seen : seen_)
    if (EqualsIgnoringAsciiCase(call, seen.call)) {
      seen.count += count;
      return;
    }
  if (seen_.size() < kKeptCalls) {
    seen_.push_back({AsciiUpper(call), first, count});
    return;
  }
  if (unkept_ == 0) firstUnkept_ = {AsciiUpper(call), first};
  unkept_ += count;
}

bool OwnCalls::Join(const OwnCalls& later, std::size_t renumberBy) {
  if (later.unkept_ > 0 && !seen_.empty() &&
      std::none_of(later.seen_.begin(), later.seen_.end(),
                   [&](const Seen& seen) { return seen.call == seen_.front().call; }))
    return false;
  for (const Seen& seen : later.seen_) Count(seen.call, seen.first + renumberBy, seen.count);
  if (later.unkept_ > 0) {
    if (unkept_ == 0)
      firstUnkept_ = {later.firstUnkept_.call, later.firstUnkept_.record + renumberBy};
    unkept_ += later.unkept_;
  }
  return true;
}

std::optional<OwnCalls::Call> OwnCalls::LogsCall() const {
  if (seen_.empty()) return std::nullopt;
  return Call{seen_.front().call, seen_.front().first};
}

std::optional<OwnCalls::Call> OwnCalls::FirstOther() const {
  if (seen_.size() > 1) return Call{seen_[1].call, seen_[1].first};
  if (unkept_ > 0) return firstUnkept_;
  return std::nullopt;
}

std::size_t OwnCalls::Others() const {
  std::size_t others = unkept_;
  for (std::size_t i = 1; i < seen_.size(); ++i) others += seen_[i].count;
  return others;
}

}  // namespace zeltra
