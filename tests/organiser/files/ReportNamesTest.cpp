#include "organiser/files/ReportNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

TEST(ReportNames, EachCallItsOwnSafeName) {
  struct Case {
    std::string call;
    std::string name;
  };
  // One run's names, in the order asked for.
  const Case cases[] = {
      {"SP1AAA", "SP1AAA.txt"},
      {"SP1AAA/P", "SP1AAA_2FP.txt"},
      {"SP1AAA.P", "SP1AAA_2EP.txt"},
      {"SP1AAA_P", "SP1AAA_5FP.txt"},
      {"sp1aaa", "_73_701_61_61_61.txt"},
      {"../../etc/passwd", "_2E_2E_2F_2E_2E_2F_65_74_63_2F_70_61_73_73_77_64.txt"},
      {"CON", "CON_.txt"},
      {"NUL", "NUL_.txt"},
      {"COM1", "COM1_.txt"},
      {"LPT9", "LPT9_.txt"},
      {"COM10", "COM10.txt"},
      {"CONX", "CONX.txt"},
      {"", "_.txt"},
      {"SP1-A", "SP1-A.txt"},
      {std::string(300, 'A'), std::string(64, 'A') + ".txt"},
      {std::string(301, 'A'), std::string(64, 'A') + "~2.txt"},
      {std::string(64, 'A'), std::string(64, 'A') + "~3.txt"},
  };
  ReportNames names;
  std::set<std::string> given;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    const std::string name = names.For(c.call, ".txt");
    EXPECT_EQ(name, c.name);
    EXPECT_TRUE(given.insert(name).second);
  }
}

}  // namespace
}  // namespace zeltra::organiser
