#pragma once

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
};

// Sends one mail through libcurl. Throws std::runtime_error with the
// server's or the connection's reason.
void SendMail(const SmtpSettings& settings, const Mail& mail);

// An address a mail can be sent to safely: one '@', no blank or control
// character, no angle bracket, printable ASCII, at most 254 characters.
bool IsMailAddress(std::string_view text);

// The whole message as it goes to the server: headers and text, lines
// ending in CRLF, a line that starts with '.' doubled by the library.
std::string MessageOf(const SmtpSettings& settings, const Mail& mail, std::int64_t now);

}  // namespace zeltra::robot
