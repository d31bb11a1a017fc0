#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "tools/robot/mail/ReceiptKeys.h"
#include "tools/robot/mail/SmtpClient.h"
#include "tools/robot/store/MailQueue.h"

namespace zeltra::robot {

// Sends the queued mails from a thread of its own, so that a mail server
// that is slow or down never slows an upload: each mail due is tried; one
// that fails is tried again after retry, then twice as long each time, at
// most an hour. A mail the server refuses for good (5xx), or that failed
// for a day, is given up. A mail's domain whose server did not answer in
// time is set aside for retry while the others' mails go. Each mail's
// first failure, and its giving up, is told through tell, once.
class MailSender {
 public:
  // Sent and given-up mails are kept this long, then go.
  static constexpr std::chrono::hours kKept{24 * 7};
  static constexpr std::chrono::hours kTriedAtMost{24};

  MailSender(const std::filesystem::path& folder, SmtpSettings settings, std::chrono::seconds retry,
             std::function<void(const std::string&)> tell);
  ~MailSender();
  MailSender(const MailSender&) = delete;
  MailSender& operator=(const MailSender&) = delete;

  // A log's key, for its receipt's mail: kept in memory until it is sent.
  void Remember(std::int64_t log, const std::string& key) { keys_.Keep(log, key); }
  void Forget(std::int64_t log) { keys_.Forget(log); }
  // Mails were queued: look now rather than at the next round.
  void Wake();

 private:
  void Run();
  void SendDue();
  // The mail as it goes: the key put in its place, when the robot has it.
  Mail WithKey(const QueuedMail& queued) const;
  void Fail(const QueuedMail& queued, const MailFailure& failure, std::int64_t now);

  MailQueue queue_;
  SmtpSettings settings_;
  std::chrono::seconds retry_;
  std::function<void(const std::string&)> tell_;
  ReceiptKeys keys_;
  std::map<std::string, std::int64_t> setAside_;  // a domain, until (UTC seconds)
  std::int64_t lastPrune_ = 0;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zeltra::robot
