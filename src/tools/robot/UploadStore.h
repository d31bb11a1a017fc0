#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace zeltra::robot {

// What the robot found in a log it accepted.
struct LogFacts {
  std::string call;
  std::string categories;
  std::int64_t qsos = 0;
  std::optional<std::string> claimed;
  std::int64_t score = 0;  // before the check
  std::string sha256;      // of the bytes as uploaded, in hex
};

// One version of a log as kept: its facts, its number, when it came, and
// the version of the same call it replaces for the check, if any.
struct KeptLog {
  std::int64_t id = 0;
  LogFacts facts;
  std::string received;  // UTC, "2026-12-08 17:05:03"
  std::optional<std::int64_t> replaces;
};

// A store could not keep a log, or could not be opened.
struct StoreFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The robot's data folder: every version of every log accepted, byte for
// byte, named by the robot (logs/ID), and their records in SQLite
// (robot.sqlite). A log is kept whole or not at all: its bytes are synced
// to disk before its record is committed, and a file no record names (a
// run killed between the two) is removed when the store opens again.
class UploadStore {
 public:
  explicit UploadStore(const std::filesystem::path& folder);
  ~UploadStore();
  UploadStore(const UploadStore&) = delete;
  UploadStore& operator=(const UploadStore&) = delete;

  // Keeps bytes as the newest version of facts.call; answers only once
  // the bytes and the record are on disk. Throws StoreFailure.
  KeptLog Keep(std::string_view bytes, const LogFacts& facts);

  // The newest version of each call, by call.
  std::vector<KeptLog> Latest() const;

  // Where a version's bytes are.
  std::filesystem::path FileOf(std::int64_t id) const;

 private:
  void RemoveLeftovers();

  std::filesystem::path folder_;
  sqlite3* database_ = nullptr;
  mutable std::mutex mutex_;
};

}  // namespace zeltra::robot
