#pragma once

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/robot/store/Mail.h"

namespace zeltra::robot {

// Where mails go: a mail server's URL (smtp://HOST[:PORT], STARTTLS when
// the server offers it; smtps://HOST[:PORT], TLS from the start) and the
// sender's address.
struct SmtpSettings {
  std::string url;
  std::string from;
  // The longest wait for the server's answer to each step (its greeting,
  // MAIL, RCPT, DATA...), and for a whole mail.
  std::chrono::seconds reply{10};
  std::chrono::seconds whole{30};
};

// A mail the server did not take: the server's or the connection's reason;
// permanent, the server refused it for good (a 5xx answer); timedOut, a
// step took longer than SmtpSettings::reply.
class MailFailure : public std::runtime_error {
 public:
  MailFailure(const std::string& why, bool permanent, bool timedOut)
      : std::runtime_error(why), permanent_(permanent), timedOut_(timedOut) {}
  bool permanent() const { return permanent_; }
  bool timedOut() const { return timedOut_; }

 private:
  bool permanent_;
  bool timedOut_;
};

// Sends one mail through libcurl. Throws MailFailure.
void SendMail(const SmtpSettings& settings, const Mail& mail);

// An address a mail can be sent to safely: one '@', no blank or control
// character, no angle bracket, printable ASCII, at most 254 characters.
bool IsMailAddress(std::string_view text);

// The whole message as it goes to the server: headers and text, lines
// ending in CRLF, a line that starts with '.' doubled by the library.
std::string MessageOf(const SmtpSettings& settings, const Mail& mail, std::int64_t now);

}  // namespace zeltra::robot
