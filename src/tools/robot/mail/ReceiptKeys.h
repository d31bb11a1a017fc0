#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace zeltra::robot {

// The keys of receipts whose mails are still to go, in memory only: the
// records keep a key's hash, never the key. A robot stopped before a mail
// went sends it without its key (the upload's answer showed it). Holds at
// most a fixed number of keys, the oldest going first.
class ReceiptKeys {
 public:
  static constexpr std::size_t kMost = 10000;

  void Keep(std::int64_t log, const std::string& key);
  std::optional<std::string> Find(std::int64_t log) const;
  void Forget(std::int64_t log);

 private:
  mutable std::mutex mutex_;
  std::map<std::int64_t, std::string> keys_;
  std::deque<std::int64_t> order_;
};

}  // namespace zeltra::robot
