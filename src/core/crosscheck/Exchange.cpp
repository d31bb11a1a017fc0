#include "core/crosscheck/Exchange.h"

#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// An RTTY report: readability 1-5, strength and tone 1-9.
constexpr std::size_t kReportLength = 3;

bool IsReport(std::string_view text) {
  return text.size() == kReportLength && text[0] >= '1' && text[0] <= '5' && text[1] >= '1' &&
         text[1] <= '9' && text[2] >= '1' && text[2] <= '9';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') ++at;
    const std::size_t start = at;
    while (at < text.size() && static_cast<unsigned char>(text[at]) > ' ') ++at;
    if (at > start) words.push_back(text.substr(start, at - start));
  }
  return words;
}

std::string WordContent(std::string_view word) {
  if (!AllDigits(word)) return AsciiUpper(word);
  const std::size_t firstNonZero = word.find_first_not_of('0');
  return firstNonZero == std::string_view::npos ? std::string("0")
                                                : std::string(word.substr(firstNonZero));
}

}  // namespace

std::string ExchangeContent(std::string_view exchange) {
  std::vector<std::string_view> words = Words(exchange);
  if (words.size() >= 2 && IsReport(words.front())) {
    words.erase(words.begin());
  } else if (words.size() == 1 && words.front().size() > kReportLength &&
             IsReport(words.front().substr(0, kReportLength)) &&
             !IsDigit(words.front()[kReportLength])) {
    // "599K": the report and the letter written together.
    words.front().remove_prefix(kReportLength);
  }
  std::string content;
  for (const std::string_view word : words) {
    if (!content.empty()) content += ' ';
    content += WordContent(word);
  }
  return content;
}

bool SameExchange(std::string_view received, std::string_view sent) {
  return ExchangeContent(received) == ExchangeContent(sent);
}

}  // namespace zeltra
