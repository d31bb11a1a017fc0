#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace zeltra {

// Whether a log's exchanges (those it sent, or those it copied) begin with
// a report: learnt from the log's own lines, never from the shape of one
// number, so that a serial number such as 143 is compared like any part.
enum class ReportPlace { kNone, kFirst };

// Learns where a log's report is from its exchanges, one direction at a
// time: first when nearly all of those of two parts or more begin with a
// report-shaped part (readability 1-5, strength 1-9 and, where written,
// tone 1-9: "599", "59", "5NN") and more than half begin with the same
// one, or with readability 5 (reports that vary: 51, 55, 59), as reports
// do and serial numbers do not.
class ReportColumn {
 public:
  void Add(std::string_view exchange);
  ReportPlace Place() const;

 private:
  std::size_t withParts_ = 0;        // exchanges of two parts or more
  std::size_t reportShaped_ = 0;     // of those, the ones whose first looks like a report
  std::size_t fullReadability_ = 0;  // of those, the ones of readability 5
  std::map<std::string, std::size_t> firsts_;
};

// What an exchange says once its report is set aside: the parts after the
// report (when the log's lines put one first, and the exchange has more
// than one part), each a number by its value ("007" is "7") or a text
// upper-cased, joined by one blank. With a report first, "599 K", "599k",
// and "K" all say "K"; "599 007" and "599 7" say "7". A lone part is kept
// whole.
std::string ExchangeContent(std::string_view exchange, ReportPlace report);

// Whether what a station copied says what the other station sent.
bool SameExchange(std::string_view received, ReportPlace receivedReport, std::string_view sent,
                  ReportPlace sentReport);

}  // namespace zeltra
