#include "tools/robot/store/MailQueue.h"

#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {

MailQueue::MailQueue(const std::filesystem::path& folder)
    : records_(folder, Records::Access::kWrite) {}

std::vector<QueuedMail> MailQueue::Due(std::int64_t now, std::size_t most) const {
  Statement rows(records_,
                 "SELECT id, recipient, subject, body, tries FROM mails WHERE sent IS NULL AND "
                 "next_try <= ? ORDER BY id LIMIT ?");
  rows.Bind(1, now).Bind(2, static_cast<std::int64_t>(most));
  std::vector<QueuedMail> due;
  while (rows.Step())
    due.push_back({rows.Number(0), {rows.Text(1), rows.Text(2), rows.Text(3)}, rows.Number(4)});
  return due;
}

void MailQueue::Sent(std::int64_t id, std::int64_t now) const {
  Statement sent(records_, "UPDATE mails SET sent = ?, tries = tries + 1 WHERE id = ?");
  sent.Bind(1, UtcText(now)).Bind(2, id).Done();
}

void MailQueue::Failed(std::int64_t id, std::int64_t retryAt, const std::string& why) const {
  Statement failed(records_,
                   "UPDATE mails SET tries = tries + 1, next_try = ?, failure = ? WHERE id = ?");
  failed.Bind(1, retryAt).Bind(2, why).Bind(3, id).Done();
}

std::size_t MailQueue::Waiting() const {
  Statement count(records_, "SELECT count(*) FROM mails WHERE sent IS NULL");
  return count.Step() ? static_cast<std::size_t>(count.Number(0)) : 0;
}

void QueueMail(const Records& records, const Mail& mail, std::int64_t log, std::int64_t now) {
  Statement queue(records,
                  "INSERT INTO mails (log, recipient, subject, body, queued, next_try) VALUES "
                  "(?, ?, ?, ?, ?, ?)");
  queue.Bind(1, log)
      .Bind(2, mail.recipient)
      .Bind(3, mail.subject)
      .Bind(4, mail.body)
      .Bind(5, UtcText(now))
      .Bind(6, now)
      .Done();
}

}  // namespace zeltra::robot
