#include "core/crosscheck/Exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeltra {
namespace {

constexpr ReportPlace kFirst = ReportPlace::kFirst;
constexpr ReportPlace kNone = ReportPlace::kNone;

TEST(Exchange, ThePartsAfterTheReportCompareByValueAndWithoutCase) {
  struct Case {
    const char* received;
    ReportPlace receivedReport;
    const char* sent;
    ReportPlace sentReport;
    bool same;
  };
  const Case cases[] = {
      {"599 K", kFirst, "599 K", kFirst, true},
      {"599 k", kFirst, "599 K", kFirst, true},    // a letter without regard to case
      {"599K", kFirst, "599 K", kFirst, true},     // report and letter written together
      {"519K", kFirst, "599 K", kFirst, true},     // a report of strength 1
      {"K", kFirst, "599 K", kFirst, true},        // the report left out
      {"K", kNone, "599 K", kFirst, true},         // a log without reports
      {"579 K", kFirst, "599 K", kFirst, true},    // the RST is not compared
      {"599 007", kFirst, "599 7", kFirst, true},  // a number by its value
      {"599 7", kFirst, "007", kNone, true},       // STX: the serial number alone
      {"599 000", kFirst, "599 0", kFirst, true},
      {"599 M", kFirst, "599 K", kFirst, false},
      {"599 8", kFirst, "599 7", kFirst, false},
      {"599 70", kFirst, "599 7", kFirst, false},
      {"599", kFirst, "599 K", kFirst, false},       // nothing copied after the report
      {"599 K 12", kFirst, "599 K", kFirst, false},  // a part more
      {"  599\tK ", kFirst, "599 K", kFirst, true},  // blanks and tabs around
      {"599 K1", kFirst, "599 K", kFirst, false},
      {"5999", kFirst, "599 9", kFirst, false},  // not a report and a letter
      // A serial that looks like a report is compared where no report is.
      {"143 257", kNone, "153 257", kNone, false},
      {"143 257", kNone, "143 257", kNone, true},
      {"599 K", kNone, "599 K", kFirst, false},
      // Reports of any width, and cut, are never compared.
      {"59 K", kFirst, "599 K", kFirst, true},
      {"57 012", kFirst, "59 12", kFirst, true},
      {"5NN K", kFirst, "599 K", kFirst, true},
      {"5nn 7", kFirst, "57 007", kFirst, true},
      {"59 M", kFirst, "599 K", kFirst, false},
  };
  for (const Case& test : cases)
    EXPECT_EQ(SameExchange(test.received, test.receivedReport, test.sent, test.sentReport),
              test.same)
        << '"' << test.received << "\" against \"" << test.sent << '"';
  EXPECT_EQ(ExchangeContent("599 k 007", kFirst), "K 7");
  EXPECT_EQ(ExchangeContent("599 k 007", kNone), "599 K 7");
  EXPECT_EQ(ExchangeContent("", kFirst), "");
}

// Where a log's report is, from its own lines: a column of one report
// value is one; serial numbers, however report-like, are not.
TEST(Exchange, TheReportColumnIsLearntFromTheLog) {
  struct Case {
    const char* name;
    std::vector<std::string> exchanges;
    ReportPlace place;
  };
  const Case cases[] = {
      {"reports", {"599 K", "599 M", "579 K", "599 B", "K"}, kFirst},
      {"reports glued", {"599K", "599M", "599B"}, kFirst},
      {"serials before a letter", {"001 K", "002 K", "143 K", "152 K", "153 M"}, kNone},
      {"serials that look like reports", {"143 257", "152 258", "153 259", "211 260"}, kNone},
      {"letters alone", {"K", "M", "B"}, kNone},
      {"nothing", {}, kNone},
      {"a few reports among serials", {"599 1", "2 K", "3 K", "4 K", "5 K"}, kNone},
      // Nearly all is four in five: three in five is no column.
      {"three in five report-shaped", {"599 1", "599 2", "599 3", "4 K", "5 K"}, kNone},
      {"four in five report-shaped", {"599 1", "599 2", "599 3", "599 4", "5 K"}, kFirst},
      // "39" and "399" are one report: a majority of one value.
      {"one report in two widths", {"39 1", "399 2", "39 3", "479 4"}, kFirst},
      // A lone part is no evidence either way.
      {"reports, and some letters alone", {"599 K", "599 M", "599 B", "599 W", "K", "M"}, kFirst},
      {"reports of two figures", {"59 001", "59 002", "57 003", "59 004"}, kFirst},
      {"reports cut", {"5NN 001", "5nn 002", "5NN 003"}, kFirst},
      {"reports of every width are one value", {"59 1", "599 2", "5NN 3", "57 4", "579 5"}, kFirst},
      // Exactly half of one value is no column; more than half is.
      {"half one value", {"399 1", "399 2", "479 3", "489 4"}, kNone},
      {"more than half one value", {"399 1", "399 2", "399 3", "479 4", "489 5"}, kFirst},
      // Reports that vary from line to line are reports all the same: most
      // are sent with readability 5, as serial numbers are not.
      {"reports that vary", {"51 1", "52 2", "55 3", "57 4", "59 5", "53 6"}, kFirst},
      {"half of readability 5", {"51 1", "52 2", "43 3", "44 4"}, kNone},
      {"more than half of readability 5", {"51 1", "52 2", "55 3", "43 4"}, kFirst},
      {"serials from 11 before a letter", {"11 K", "12 M", "13 K", "14 B", "15 K"}, kNone},
  };
  for (const Case& c : cases) {
    ReportColumn column;
    for (const std::string& exchange : c.exchanges) column.Add(exchange);
    EXPECT_EQ(column.Place(), c.place) << c.name;
  }
}

}  // namespace
}  // namespace zeltra
