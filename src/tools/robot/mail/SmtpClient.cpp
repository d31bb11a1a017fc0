#include "tools/robot/mail/SmtpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <stdexcept>

#include "tools/robot/store/UploadKey.h"

namespace zeltra::robot {
namespace {

constexpr std::size_t kLongestAddress = 254;
constexpr long kConnectSeconds = 10;
constexpr long kFirstPermanent = 500;
constexpr long kPastPermanent = 600;

struct CurlFree {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// The message handed to the library piece by piece.
struct Reading {
  std::string message;
  std::size_t sent = 0;
};

std::size_t ReadMessage(char* buffer, std::size_t size, std::size_t count, void* state) {
  auto& reading = *static_cast<Reading*>(state);
  const std::size_t room = size * count;
  const std::size_t piece = std::min(room, reading.message.size() - reading.sent);
  std::memcpy(buffer, reading.message.data() + reading.sent, piece);
  reading.sent += piece;
  return piece;
}

// RFC 2047: a subject past ASCII is sent as UTF-8 in base64.
std::string HeaderText(const std::string& text) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; }))
    return text;
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string coded;
  for (std::size_t at = 0; at < text.size(); at += 3) {
    const auto byte = [&](std::size_t i) {
      return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
    };
    const unsigned bits = (byte(at) << 16) | (byte(at + 1) << 8) | byte(at + 2);
    coded += kDigits[(bits >> 18) & 63];
    coded += kDigits[(bits >> 12) & 63];
    coded += at + 1 < text.size() ? kDigits[(bits >> 6) & 63] : '=';
    coded += at + 2 < text.size() ? kDigits[bits & 63] : '=';
  }
  return "=?UTF-8?B?" + coded + "?=";
}

}  // namespace

bool IsMailAddress(std::string_view text) {
  if (text.empty() || text.size() > kLongestAddress) return false;
  const std::size_t at = text.find('@');
  if (at == 0 || at == std::string_view::npos || at + 1 == text.size() ||
      text.find('@', at + 1) != std::string_view::npos)
    return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return c > ' ' && c <= '~' && c != '<' && c != '>' && c != '(' && c != ')' && c != ',' &&
           c != ';' && c != ':' && c != '"' && c != '\\' && c != '[' && c != ']';
  });
}

std::string MessageOf(const SmtpSettings& settings, const Mail& mail, std::int64_t now) {
  const auto time = static_cast<std::time_t>(now);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char date[64];
  std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", &utc);
  const std::string domain = settings.from.substr(settings.from.find('@') + 1);
  std::string message =
      "Date: " + std::string(date) + "\r\nFrom: <" + settings.from + ">\r\nTo: <" + mail.recipient +
      ">\r\nSubject: " + HeaderText(mail.subject) + "\r\nMessage-ID: <" + NewKey() + "@" + domain +
      ">\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n"
      "Content-Transfer-Encoding: 8bit\r\nAuto-Submitted: auto-generated\r\n\r\n";
  for (const char c : mail.body) {
    if (c == '\n')
      message += "\r\n";
    else if (c != '\r')
      message += c;
  }
  if (message.size() < 2 || message.compare(message.size() - 2, 2, "\r\n") != 0) message += "\r\n";
  return message;
}

void SendMail(const SmtpSettings& settings, const Mail& mail) {
  if (!IsMailAddress(mail.recipient))
    throw MailFailure("not an address: " + mail.recipient, true, false);
  const std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
  if (!curl) throw MailFailure("the mail library could not start", false, false);
  Reading reading{MessageOf(settings, mail, static_cast<std::int64_t>(std::time(nullptr))), 0};
  const std::unique_ptr<curl_slist, ListFree> recipients(
      curl_slist_append(nullptr, ("<" + mail.recipient + ">").c_str()));
  const std::string from = "<" + settings.from + ">";
  char error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl.get(), CURLOPT_URL, settings.url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  curl_easy_setopt(curl.get(), CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
  curl_easy_setopt(curl.get(), CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_MAIL_RCPT, recipients.get());
  curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, &ReadMessage);
  curl_easy_setopt(curl.get(), CURLOPT_READDATA, &reading);
  curl_easy_setopt(curl.get(), CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl.get(), CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   static_cast<long>(settings.reply.count()));
  curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, static_cast<long>(settings.whole.count()));
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
  const CURLcode result = curl_easy_perform(curl.get());
  if (result == CURLE_OK) return;
  long answer = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &answer);
  throw MailFailure(error[0] != '\0' ? error : curl_easy_strerror(result),
                    answer >= kFirstPermanent && answer < kPastPermanent,
                    result == CURLE_OPERATION_TIMEDOUT);
}

}  // namespace zeltra::robot
