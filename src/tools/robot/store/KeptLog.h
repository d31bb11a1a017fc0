#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeltra::robot {

// What the robot found in a log it took.
struct LogFacts {
  std::string call;
  std::string categories;
  std::int64_t qsos = 0;
  std::optional<std::string> claimed;
  std::int64_t score = 0;  // before the check
  std::string sha256;      // of the bytes as uploaded, in hex
};

// Where a version of a log stands. The current log of a call is its
// accepted version made current last; a held one waits for the organiser,
// who accepts it (it becomes current) or rejects it.
enum class LogState { kAccepted, kHeld, kRejected };

// One version of a log as kept: its facts, its number, when it came, and
// the version of the same call it replaces for the check, if any.
struct KeptLog {
  std::int64_t id = 0;
  LogFacts facts;
  std::string received;  // UTC, "2026-12-08 17:05:03"
  std::optional<std::int64_t> replaces;
  LogState state = LogState::kAccepted;
  std::int64_t bytes = 0;
  std::string address;  // the client's, as the robot saw it
};

// A version just kept, with the key that lets its sender replace it. The
// key is told once, here; the records hold only its hash.
struct Receipt {
  KeptLog log;
  std::string key;
  // Held: the call's current log stays; its id, for the organiser.
  std::optional<std::int64_t> current;
  // The receipt's mail, with the key, was queued; the addresses a mail
  // was not queued to, a cap of the hour reached.
  bool keyMailed = false;
  std::vector<std::string> mailsCapped;
};

// The outcome of an upload, as recorded for the organiser.
enum class Outcome { kAccepted, kHeld, kRefused };

// One upload as it came: accepted, held or refused, and why.
struct Attempt {
  std::int64_t id = 0;
  std::string time;  // UTC, as KeptLog::received
  std::string address;
  std::int64_t bytes = 0;
  std::string sha256;  // empty: no log was read
  std::string call;    // empty: none found
  Outcome outcome = Outcome::kRefused;
  int status = 0;      // the HTTP status answered
  std::string reason;  // refused: the first reason told; else empty
  std::optional<std::int64_t> log;
  // Refusals of one address in one minute for one reason, no log read,
  // are one record: how many it stands for.
  std::int64_t count = 1;
};

// The most of a client's text the records keep, in bytes (cut between
// UTF-8 characters).
inline constexpr std::size_t kLongestKeptText = 200;

}  // namespace zeltra::robot
