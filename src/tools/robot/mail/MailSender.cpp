#include "tools/robot/mail/MailSender.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <exception>

#include "tools/robot/store/UploadKey.h"

namespace zeltra::robot {
namespace {

constexpr auto kRound = std::chrono::seconds(1);
constexpr std::int64_t kLongestWaitSeconds = 60 * 60;
constexpr std::int64_t kPruneEvery = 60 * 60;
constexpr std::size_t kMailsPerRound = 20;
constexpr std::int64_t kMostDoublings = 12;
constexpr std::string_view kNoKey =
    "(not kept: the robot was restarted before this mail went; the page that answered the "
    "upload showed it)";

std::int64_t Now() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

std::string DomainOf(const std::string& address) {
  std::string domain = address.substr(address.rfind('@') + 1);
  for (char& c : domain) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return domain;
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

Mail MailSender::WithKey(const QueuedMail& queued) const {
  Mail mail = queued.mail;
  const std::size_t mark = mail.body.find(kKeyMark);
  if (mark == std::string::npos) return mail;
  // A log's number may come again after a log that was not kept: the key
  // is its log's only when its hash is the one recorded.
  const std::optional<std::string> key = keys_.Find(queued.log);
  const bool ours = key && !queued.keyHash.empty() && KeyHash(*key) == queued.keyHash;
  mail.body.replace(mark, kKeyMark.size(), ours ? *key : std::string(kNoKey));
  return mail;
}

void MailSender::Fail(const QueuedMail& queued, const MailFailure& failure, std::int64_t now) {
  const std::string& recipient = queued.mail.recipient;
  const std::string receipt = " (receipt " + std::to_string(queued.log) + ")";
  const auto triedAtMost = std::chrono::seconds(kTriedAtMost).count();
  if (failure.permanent() ||
      (queued.firstFailure != 0 && now - queued.firstFailure >= triedAtMost)) {
    queue_.GiveUp(queued.id, now, failure.what());
    keys_.Forget(queued.log);
    tell_("gave up the mail to " + recipient + receipt + ": " + failure.what());
    return;
  }
  if (failure.timedOut()) setAside_[DomainOf(recipient)] = now + retry_.count();
  const std::int64_t doublings = std::min(queued.tries, kMostDoublings);
  const std::int64_t wait =
      std::min(static_cast<std::int64_t>(retry_.count()) << doublings, kLongestWaitSeconds);
  queue_.Failed(queued.id, now, now + wait, failure.what());
  if (queued.tries == 0)
    tell_("cannot send the mail to " + recipient + receipt +
          "; tried again for a day, told again only when given up: " + failure.what());
}

void MailSender::SendDue() {
  try {
    const std::int64_t started = Now();
    if (started - lastPrune_ >= kPruneEvery) {
      queue_.Prune(started, std::chrono::seconds(kKept).count());
      lastPrune_ = started;
    }
    std::erase_if(setAside_, [started](const auto& domain) { return domain.second <= started; });
    for (const QueuedMail& queued : queue_.Due(started, kMailsPerRound)) {
      const auto aside = setAside_.find(DomainOf(queued.mail.recipient));
      if (aside != setAside_.end() && aside->second > Now()) continue;
      try {
        SendMail(settings_, WithKey(queued));
        queue_.Sent(queued.id, Now());
        if (queued.mail.kind == MailKind::kReceipt) keys_.Forget(queued.log);
      } catch (const MailFailure& failure) {
        Fail(queued, failure, Now());
      }
      const std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
  } catch (const std::exception& failure) {
    tell_(std::string("cannot read the mails to send: ") + failure.what());
  }
}

}  // namespace zeltra::robot
