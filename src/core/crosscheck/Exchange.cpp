#include "core/crosscheck/Exchange.h"

#include <algorithm>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// A report as loggers write it: readability 1-5, strength 1-9, and tone
// 1-9 where the log has it ("599", "59"); a 9 may be sent cut, as "N".
constexpr std::size_t kReportLength = 3;
constexpr std::size_t kShortReportLength = 2;
// A log's exchanges begin with a report when at least this share of them
// (in fifths) look so, and more than half of those begin with one value or
// with readability 5: a log of reports that vary (51, 55, 57, 59) has them
// too, and serial numbers are not mostly 50 to 59.
constexpr std::size_t kReportShapedFifths = 4;
constexpr std::size_t kFifths = 5;
// A log keeps count of at most this many different first parts.
constexpr std::size_t kFirstsCounted = 64;

// The readability nearly every report is sent with.
constexpr char kFullReadability = '5';

// A figure 1-9 of a report, the cut "N" read as 9.
bool IsReportFigure(char c) {
  return (c >= '1' && c <= '9') || c == 'N' || c == 'n';
}

bool IsReport(std::string_view text) {
  if (text.size() != kReportLength && text.size() != kShortReportLength) return false;
  return text[0] >= '1' && text[0] <= '5' && IsReportFigure(text[1]) &&
         (text.size() == kShortReportLength || IsReportFigure(text[2]));
}

// A report as one value, whatever its width or cut figures: "59", "599"
// and "5NN" are one report.
std::string ReportValue(std::string_view report) {
  std::string value(report);
  for (char& c : value)
    if (c == 'N' || c == 'n') c = '9';
  if (value.size() == kShortReportLength) value += '9';
  return value;
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

// "599K": a report and a letter written together, as one part.
bool IsGluedReport(std::string_view word) {
  return word.size() > kReportLength && IsReport(word.substr(0, kReportLength)) &&
         !IsDigit(word[kReportLength]);
}

std::string WordContent(std::string_view word) {
  if (!AllDigits(word)) return AsciiUpper(word);
  const std::size_t firstNonZero = word.find_first_not_of('0');
  return firstNonZero == std::string_view::npos ? std::string("0")
                                                : std::string(word.substr(firstNonZero));
}

}  // namespace

void ReportColumn::Add(std::string_view exchange) {
  const std::vector<std::string_view> words = Words(exchange);
  std::string_view first;
  if (words.size() >= 2)
    first = words.front();
  else if (words.size() == 1 && IsGluedReport(words.front()))
    first = words.front().substr(0, kReportLength);
  else
    return;
  ++withParts_;
  if (!IsReport(first)) return;
  ++reportShaped_;
  if (first.front() == kFullReadability) ++fullReadability_;
  const std::string value = ReportValue(first);
  if (firsts_.size() < kFirstsCounted || firsts_.count(value) > 0) ++firsts_[value];
}

ReportPlace ReportColumn::Place() const {
  if (withParts_ == 0 || reportShaped_ * kFifths < withParts_ * kReportShapedFifths)
    return ReportPlace::kNone;
  std::size_t mostCommon = 0;
  for (const auto& [first, count] : firsts_) mostCommon = std::max(mostCommon, count);
  // A clear majority of one value, or of readability 5: half is no column.
  return mostCommon * 2 > reportShaped_ || fullReadability_ * 2 > reportShaped_
             ? ReportPlace::kFirst
             : ReportPlace::kNone;
}

std::string ExchangeContent(std::string_view exchange, ReportPlace report) {
  std::vector<std::string_view> words = Words(exchange);
  if (report == ReportPlace::kFirst) {
    if (words.size() >= 2)
      words.erase(words.begin());
    else if (words.size() == 1 && IsGluedReport(words.front()))
      words.front().remove_prefix(kReportLength);
  }
  std::string content;
  for (const std::string_view word : words) {
    if (!content.empty()) content += ' ';
    content += WordContent(word);
  }
  return content;
}

bool SameExchange(std::string_view received, ReportPlace receivedReport, std::string_view sent,
                  ReportPlace sentReport) {
  return ExchangeContent(received, receivedReport) == ExchangeContent(sent, sentReport);
}

}  // namespace zeltra
