#include "tools/robot/mail/MailSender.h"

#include <algorithm>
#include <ctime>
#include <exception>

namespace zeltra::robot {
namespace {

constexpr auto kRound = std::chrono::seconds(1);
constexpr std::int64_t kLongestWaitSeconds = 60 * 60;
constexpr std::size_t kMailsPerRound = 20;
constexpr std::int64_t kMostDoublings = 12;

std::int64_t Now() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace

MailSender::MailSender(const std::filesystem::path& folder, SmtpSettings settings,
                       std::chrono::seconds retry, std::function<void(const std::string&)> tell)
    : queue_(folder), settings_(std::move(settings)), retry_(retry), tell_(std::move(tell)) {
  thread_ = std::thread([this] { Run(); });
}

MailSender::~MailSender() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void MailSender::Wake() {
  {
    const std::lock_guard lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

void MailSender::Run() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    lock.unlock();
    SendDue();
    lock.lock();
    wake_.wait_for(lock, kRound, [this] { return stopping_ || woken_; });
    woken_ = false;
  }
}

void MailSender::SendDue() {
  try {
    for (const QueuedMail& queued : queue_.Due(Now(), kMailsPerRound)) {
      try {
        SendMail(settings_, queued.mail);
        queue_.Sent(queued.id, Now());
      } catch (const std::runtime_error& failure) {
        const std::int64_t doublings = std::min(queued.tries, kMostDoublings);
        const std::int64_t wait =
            std::min(static_cast<std::int64_t>(retry_.count()) << doublings, kLongestWaitSeconds);
        queue_.Failed(queued.id, Now() + wait, failure.what());
        tell_("cannot send the mail to " + queued.mail.recipient + " (tried again in " +
              std::to_string(wait) + " s): " + failure.what());
      }
      const std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
  } catch (const std::exception& failure) {
    tell_(std::string("cannot read the mails to send: ") + failure.what());
  }
}

}  // namespace zeltra::robot
