#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "tools/robot/mail/SmtpClient.h"
#include "tools/robot/store/MailQueue.h"

namespace zeltra::robot {

// Sends the queued mails from a thread of its own, so that a mail server
// that is slow or down never slows an upload: each mail due is tried; one
// that fails is tried again after retry, then twice as long each time, at
// most an hour. Nothing is lost: a mail leaves the queue only when the
// server took it. Each failure is told through tell.
class MailSender {
 public:
  MailSender(const std::filesystem::path& folder, SmtpSettings settings, std::chrono::seconds retry,
             std::function<void(const std::string&)> tell);
  ~MailSender();
  MailSender(const MailSender&) = delete;
  MailSender& operator=(const MailSender&) = delete;

  // Mails were queued: look now rather than at the next round.
  void Wake();

 private:
  void Run();
  void SendDue();

  MailQueue queue_;
  SmtpSettings settings_;
  std::chrono::seconds retry_;
  std::function<void(const std::string&)> tell_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zeltra::robot
