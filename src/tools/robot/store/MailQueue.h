#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/robot/store/Mail.h"
#include "tools/robot/store/Records.h"

namespace zeltra::robot {

// How many mails the robot queues in an hour: to one address (an address's
// "+tag" and capitals set aside), in all, and of "another log came" for one
// call. A mail past a cap is not queued: a stranger who names someone in
// log after log sends them no more than this.
struct MailCaps {
  std::size_t perRecipient = 3;
  std::size_t perHour = 120;
  std::size_t anotherLogPerCall = 1;
};

// A mail not sent: waiting for its next try, or given up, and why.
struct UnsentMail {
  std::int64_t id = 0;
  std::string recipient;
  std::string subject;
  std::int64_t log = 0;
  std::string queued;  // UTC, as KeptLog::received
  std::int64_t tries = 0;
  bool givenUp = false;
  std::string why;  // the last failure
};

// The mails the robot has yet to send, in its records (the table mails):
// queued in the transaction that keeps the log they tell of, so a mail
// server that is down, or a robot killed, loses none of them. A sent
// mail's text is blanked; sent and given-up mails go after a week. Throws
// StoreFailure.
class MailQueue {
 public:
  explicit MailQueue(const std::filesystem::path& folder);

  // The mails due by now (UTC seconds), oldest first, at most most.
  std::vector<QueuedMail> Due(std::int64_t now, std::size_t most) const;
  void Sent(std::int64_t id, std::int64_t now) const;
  // Tried and failed: tried again at retryAt.
  void Failed(std::int64_t id, std::int64_t now, std::int64_t retryAt,
              const std::string& why) const;
  // Never tried again.
  void GiveUp(std::int64_t id, std::int64_t now, const std::string& why) const;
  // Sent and given-up mails queued before now less keep (seconds) go.
  void Prune(std::int64_t now, std::int64_t keep) const;
  // Mails not yet sent.
  std::size_t Waiting() const;

 private:
  Records records_;
};

// Queues a mail inside the open transaction of records, unless a cap of
// the last hour is reached; true: queued.
bool QueueMail(const Records& records, const Mail& mail, std::int64_t log, std::int64_t now,
               const MailCaps& caps);

// The mails not sent, waiting or given up, oldest first.
std::vector<UnsentMail> UnsentMails(const Records& records);

// What the caps count an address as: lower case, its "+tag" set aside.
std::string RecipientKey(const std::string& address);

// Keys a robot of an earlier release wrote into mails it had not sent
// yet are replaced by the mark, and sent mails' texts blanked.
void ForgetKeysInMails(const Records& records);

}  // namespace zeltra::robot
