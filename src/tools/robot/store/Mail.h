#pragma once

#include <cstdint>
#include <string>

namespace zeltra::robot {

// A mail to send: to whom, its subject and its text (UTF-8, lines ending
// in \n).
struct Mail {
  std::string recipient;
  std::string subject;
  std::string body;
};

// A mail in the queue, and how often it was tried.
struct QueuedMail {
  std::int64_t id = 0;
  Mail mail;
  std::int64_t tries = 0;
};

}  // namespace zeltra::robot
