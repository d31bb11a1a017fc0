#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeltra::robot {

// Where a receipt's key goes in its mail's text. The records never hold a
// key: the queued text holds this mark, and the key itself is kept in the
// serving robot's memory until the mail is sent.
inline constexpr std::string_view kKeyMark = "{receipt-key}";

// What a mail tells: a log's receipt, or a call's current sender that
// another log came for the call.
enum class MailKind { kReceipt, kAnotherLog };

// A mail to send: to whom, its subject and its text (UTF-8, lines ending
// in \n), what it tells and of which call.
struct Mail {
  std::string recipient;
  std::string subject;
  std::string body;
  MailKind kind = MailKind::kReceipt;
  std::string call;
};

// A mail in the queue: the log it tells of and the hash of that log's key,
// how often it was tried, and when it first failed (UTC seconds; 0: never).
struct QueuedMail {
  std::int64_t id = 0;
  Mail mail;
  std::int64_t tries = 0;
  std::int64_t log = 0;
  std::string keyHash;
  std::int64_t firstFailure = 0;
};

}  // namespace zeltra::robot
