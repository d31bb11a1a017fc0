#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/robot/store/Mail.h"
#include "tools/robot/store/Records.h"

namespace zeltra::robot {

// The mails the robot has yet to send, in its records (the table mails):
// queued in the transaction that keeps the log they tell of, so a mail
// server that is down, or a robot killed, loses none of them. Throws
// StoreFailure.
class MailQueue {
 public:
  explicit MailQueue(const std::filesystem::path& folder);

  // The mails due by now (UTC seconds), oldest first, at most most.
  std::vector<QueuedMail> Due(std::int64_t now, std::size_t most) const;
  void Sent(std::int64_t id, std::int64_t now) const;
  // Tried and failed: tried again at retryAt.
  void Failed(std::int64_t id, std::int64_t retryAt, const std::string& why) const;
  // Mails not yet sent.
  std::size_t Waiting() const;

 private:
  Records records_;
};

// Queues a mail inside the open transaction of records.
void QueueMail(const Records& records, const Mail& mail, std::int64_t log, std::int64_t now);

}  // namespace zeltra::robot
