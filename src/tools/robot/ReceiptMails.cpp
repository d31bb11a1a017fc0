#include "tools/robot/ReceiptMails.h"

#include "tools/robot/mail/MailText.h"
#include "tools/robot/mail/SmtpClient.h"

namespace zeltra::robot {

std::vector<Mail> ReceiptMailsOf(const Receipt& receipt, const std::vector<std::string>& notes,
                                 const std::optional<std::string>& email,
                                 const std::optional<std::string>& currentEmail) {
  const KeptLog& log = receipt.log;
  const bool held = log.state == LogState::kHeld;
  const std::string& call = log.facts.call;
  std::vector<Mail> mails;
  if (email && IsMailAddress(*email)) {
    std::string body = Wrapped(held ? "The robot received a log of " + call +
                                          ", but a log of this call was received before and "
                                          "this one came without its key. It is kept, but "
                                          "held: the log received before stays the one checked "
                                          "until the organiser decides."
                                    : "The robot received and kept your log of " + call + ".",
                               "", "");
    body += "\nReceipt: " + std::to_string(log.id) + "\nKey: " + std::string(kKeyMark) +
            "\n  (keep it: only with it can this call's log be replaced)\nCall: " + call +
            "\nCategories: " + Briefly(log.facts.categories) +
            "\nQSOs: " + std::to_string(log.facts.qsos) +
            "\nScore before the check: " + std::to_string(log.facts.score) +
            "\nReceived (UTC): " + log.received + "\nSHA-256: " + log.facts.sha256 + "\n";
    if (!notes.empty()) {
      body += "\nWhat you may want to mend:\n";
      for (const std::string& note : notes) body += Wrapped(Briefly(note), "- ", "  ");
    }
    mails.push_back(
        {*email,
         (held ? "Log held: " : "Log received: ") + call + ", receipt " + std::to_string(log.id),
         WithinLineLimit(body), MailKind::kReceipt, call});
  }
  if (held && currentEmail && IsMailAddress(*currentEmail) && currentEmail != email)
    mails.push_back({*currentEmail, "Another log came for " + call,
                     Wrapped("The robot received another log of " + call + " at " + log.received +
                                 " UTC, without the key of your receipt. Your log stays the one "
                                 "checked; the new one is held until the organiser decides. If "
                                 "you sent it, send it again with your key; if you did not, "
                                 "write to the organiser.",
                             "", ""),
                     MailKind::kAnotherLog, call});
  return mails;
}

}  // namespace zeltra::robot
