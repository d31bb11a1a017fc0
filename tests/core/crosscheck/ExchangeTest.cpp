#include "core/crosscheck/Exchange.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(Exchange, ThePartsAfterTheReportCompareByValueAndWithoutCase) {
  struct Case {
    const char* received;
    const char* sent;
    bool same;
  };
  const Case cases[] = {
      {"599 K", "599 K", true},     {"599 k", "599 K", true},  // a letter without regard to case
      {"599K", "599 K", true},                                 // report and letter written together
      {"K", "599 K", true},                                    // the report left out
      {"579 K", "599 K", true},                                // the RST is not compared
      {"599 007", "599 7", true},                              // a number by its value
      {"599 7", "007", true},                                  // STX: the serial number alone
      {"599 000", "599 0", true},   {"599 M", "599 K", false}, {"599 8", "599 7", false},
      {"599 70", "599 7", false},   {"599", "599 K", false},   // nothing copied after the report
      {"599 K 12", "599 K", false},                            // a part more
      {"  599\tK ", "599 K", true},                            // blanks and tabs around
      {"599 K1", "599 K", false},   {"5999", "599 9", false},  // not a report and a letter
  };
  for (const Case& test : cases)
    EXPECT_EQ(SameExchange(test.received, test.sent), test.same)
        << '"' << test.received << "\" against \"" << test.sent << '"';
  EXPECT_EQ(ExchangeContent("599 k 007"), "K 7");
  EXPECT_EQ(ExchangeContent(""), "");
}

}  // namespace
}  // namespace zeltra
