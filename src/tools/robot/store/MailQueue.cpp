#include "tools/robot/store/MailQueue.h"

#include <algorithm>
#include <cctype>

#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {
namespace {

constexpr std::int64_t kHour = 60 * 60;
constexpr std::size_t kKeyDigits = 32;

const char* KindName(MailKind kind) {
  return kind == MailKind::kAnotherLog ? "another-log" : "receipt";
}

MailKind KindOf(const std::string& name) {
  return name == "another-log" ? MailKind::kAnotherLog : MailKind::kReceipt;
}

std::int64_t CountSince(const Records& records, const char* sql, std::int64_t since,
                        const std::string& text = {}) {
  Statement count(records, sql);
  count.Bind(1, since);
  if (!text.empty()) count.Bind(2, text);
  return count.Step() ? count.Number(0) : 0;
}

// A key as an earlier release wrote it, "Key: " and 32 hex digits, put
// back to the mark.
std::string WithoutKey(std::string body) {
  constexpr std::string_view kLabel = "Key: ";
  for (std::size_t at = body.find(kLabel); at != std::string::npos;
       at = body.find(kLabel, at + 1)) {
    const std::size_t start = at + kLabel.size();
    if (body.size() - start < kKeyDigits) break;
    if (std::all_of(body.begin() + static_cast<std::ptrdiff_t>(start),
                    body.begin() + static_cast<std::ptrdiff_t>(start + kKeyDigits),
                    [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
      body.replace(start, kKeyDigits, kKeyMark);
  }
  return body;
}

}  // namespace

MailQueue::MailQueue(const std::filesystem::path& folder)
    : records_(folder, Records::Access::kWrite) {}

std::vector<QueuedMail> MailQueue::Due(std::int64_t now, std::size_t most) const {
  Statement rows(records_,
                 "SELECT m.id, m.recipient, m.subject, m.body, m.tries, m.log, "
                 "coalesce(l.key_hash, ''), coalesce(m.first_failure, 0), m.kind, m.call "
                 "FROM mails m LEFT JOIN logs l ON l.id = m.log WHERE m.sent IS NULL AND "
                 "m.gave_up IS NULL AND m.next_try <= ? ORDER BY m.id LIMIT ?");
  rows.Bind(1, now).Bind(2, static_cast<std::int64_t>(most));
  std::vector<QueuedMail> due;
  while (rows.Step()) {
    QueuedMail mail;
    mail.id = rows.Number(0);
    mail.mail = {rows.Text(1), rows.Text(2), rows.Text(3), KindOf(rows.Text(8)), rows.Text(9)};
    mail.tries = rows.Number(4);
    mail.log = rows.Number(5);
    mail.keyHash = rows.Text(6);
    mail.firstFailure = rows.Number(7);
    due.push_back(std::move(mail));
  }
  return due;
}

void MailQueue::Sent(std::int64_t id, std::int64_t now) const {
  Statement sent(records_, "UPDATE mails SET sent = ?, body = '', tries = tries + 1 WHERE id = ?");
  sent.Bind(1, UtcText(now)).Bind(2, id).Done();
}

void MailQueue::Failed(std::int64_t id, std::int64_t now, std::int64_t retryAt,
                       const std::string& why) const {
  Statement failed(records_,
                   "UPDATE mails SET tries = tries + 1, next_try = ?, failure = ?, "
                   "first_failure = coalesce(first_failure, ?) WHERE id = ?");
  failed.Bind(1, retryAt).Bind(2, why).Bind(3, now).Bind(4, id).Done();
}

void MailQueue::GiveUp(std::int64_t id, std::int64_t now, const std::string& why) const {
  Statement given(records_,
                  "UPDATE mails SET tries = tries + 1, gave_up = ?, failure = ?, body = '', "
                  "first_failure = coalesce(first_failure, ?) WHERE id = ?");
  given.Bind(1, UtcText(now)).Bind(2, why).Bind(3, now).Bind(4, id).Done();
}

void MailQueue::Prune(std::int64_t now, std::int64_t keep) const {
  Statement prune(records_,
                  "DELETE FROM mails WHERE (sent IS NOT NULL OR gave_up IS NOT NULL) AND "
                  "queued_at < ?");
  prune.Bind(1, now - keep).Done();
}

std::size_t MailQueue::Waiting() const {
  Statement count(records_, "SELECT count(*) FROM mails WHERE sent IS NULL AND gave_up IS NULL");
  return count.Step() ? static_cast<std::size_t>(count.Number(0)) : 0;
}

std::string RecipientKey(const std::string& address) {
  std::string key;
  const std::size_t at = address.rfind('@');
  const std::size_t plus = address.find('+');
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (plus != std::string::npos && at != std::string::npos && i >= plus && i < at) continue;
    key += static_cast<char>(std::tolower(static_cast<unsigned char>(address[i])));
  }
  return key;
}

bool QueueMail(const Records& records, const Mail& mail, std::int64_t log, std::int64_t now,
               const MailCaps& caps) {
  const std::int64_t since = now - kHour;
  const std::string key = RecipientKey(mail.recipient);
  if (CountSince(records, "SELECT count(*) FROM mails WHERE queued_at > ?", since) >=
          static_cast<std::int64_t>(caps.perHour) ||
      CountSince(records, "SELECT count(*) FROM mails WHERE queued_at > ? AND recipient_key = ?",
                 since, key) >= static_cast<std::int64_t>(caps.perRecipient))
    return false;
  if (mail.kind == MailKind::kAnotherLog &&
      CountSince(records,
                 "SELECT count(*) FROM mails WHERE queued_at > ? AND kind = 'another-log' AND "
                 "call = ?",
                 since, mail.call) >= static_cast<std::int64_t>(caps.anotherLogPerCall))
    return false;
  Statement queue(records,
                  "INSERT INTO mails (log, recipient, subject, body, queued, next_try, queued_at, "
                  "kind, call, recipient_key) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  queue.Bind(1, log)
      .Bind(2, mail.recipient)
      .Bind(3, mail.subject)
      .Bind(4, mail.body)
      .Bind(5, UtcText(now))
      .Bind(6, now)
      .Bind(7, now)
      .Bind(8, KindName(mail.kind))
      .Bind(9, mail.call)
      .Bind(10, key)
      .Done();
  return true;
}

std::vector<UnsentMail> UnsentMails(const Records& records) {
  Statement rows(records,
                 "SELECT id, recipient, subject, log, queued, tries, gave_up IS NOT NULL, "
                 "coalesce(failure, '') FROM mails WHERE sent IS NULL ORDER BY id");
  std::vector<UnsentMail> unsent;
  while (rows.Step())
    unsent.push_back({rows.Number(0), rows.Text(1), rows.Text(2), rows.Number(3), rows.Text(4),
                      rows.Number(5), rows.Number(6) != 0, rows.Text(7)});
  return unsent;
}

void ForgetKeysInMails(const Records& records) {
  records.Run("UPDATE mails SET body = '' WHERE sent IS NOT NULL AND body != ''");
  Statement rows(records,
                 "SELECT id, body FROM mails WHERE sent IS NULL AND instr(body, 'Key: ') > 0");
  std::vector<std::pair<std::int64_t, std::string>> changed;
  while (rows.Step()) {
    std::string body = rows.Text(1);
    std::string without = WithoutKey(body);
    if (without != body) changed.emplace_back(rows.Number(0), std::move(without));
  }
  for (const auto& [id, body] : changed) {
    Statement update(records, "UPDATE mails SET body = ? WHERE id = ?");
    update.Bind(1, body).Bind(2, id).Done();
  }
}

}  // namespace zeltra::robot
