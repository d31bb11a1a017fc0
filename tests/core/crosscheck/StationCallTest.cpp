#include "core/crosscheck/StationCall.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(StationCall, DesignatorsAndPrefixesAreSetAside) {
  struct Case {
    const char* call;
    const char* station;
  };
  const Case cases[] = {
      {"SP1AAA", "SP1AAA"},
      {"SP1AAA/P", "SP1AAA"},
      {"SP1AAA/M", "SP1AAA"},
      {"SP1AAA/MM", "SP1AAA"},
      {"SP1AAA/AM", "SP1AAA"},
      {"SP1AAA/QRP", "SP1AAA"},
      {"SP1AAA/A", "SP1AAA"},
      {"SP1AAA/3", "SP1AAA"},
      {"OK/SP1AAA", "SP1AAA"},
      {"OK/SP1AAA/P", "SP1AAA"},
      {"W1AW/KH6", "W1AW"},
      {"KH6/W1AW", "W1AW"},
      {"SP1AAA/", "SP1AAA"},
      {"/SP1AAA", "SP1AAA"},
      {"K1A/KH6", "K1A"},
      {"", ""},
      {"/", "/"},
      {"SP1AAA/QRPP", "SP1AAA"},
  };
  for (const Case& c : cases) EXPECT_EQ(StationCall(c.call), c.station) << c.call;
}

}  // namespace
}  // namespace zeltra
