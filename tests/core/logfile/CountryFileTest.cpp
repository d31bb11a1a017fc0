#include "core/logfile/CountryFile.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zeltra {
namespace {

const char kCountries[] =
    "Poland:                   15:  28:  EU:   52.28:   -18.67:    -1.0:  SP:\n"
    "    3Z,HF,SN,SO,SP,SQ,SR,=SP1NY/MM(34),\n"
    "    =SN0HQ{AS};\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    AA,K,N,W,KH6(31)[61]{OC},=W1AW/KH6;\n"
    "Hawaii:                   31:  61:  OC:   21.12:   157.48:    10.0:  KH6:\n"
    "    KH6,KH7;\n"
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\n"
    "    R,U;\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
    "    R9,UA9,UA0;\n"
    "Sov Mil Order of Malta:   15:  28:  EU:   41.90:   -12.43:    -1.0:  *1A:\n"
    "    1A;\n";

TEST(CountryFile, ExactCallsOverridesAndTheLongestPrefix) {
  const CountryFile file = CountryFile::Parse(kCountries);
  EXPECT_EQ(file.size(), 6u);
  struct Case {
    const char* call;
    CountryOf where;
  };
  const Case cases[] = {
      {"SP9ABC", {"SP", "EU"}},
      {"sp9abc", {"SP", "EU"}},
      {"SN0HQ", {"SP", "AS"}},    // an exact call's continent override
      {"SN0HQX", {"SP", "EU"}},   // not the exact call: the prefix
      {"W1AW/KH6", {"K", "NA"}},  // an exact call with a slash
      {"KH6XYZ", {"K", "OC"}},    // the first listing of a prefix counts
      {"UA9XYZ", {"UA9", "AS"}},  // longer prefix before shorter
      {"UA1ABC", {"UA", "EU"}},
      {"R9ABC", {"UA9", "AS"}},
      {"1A0KM", {"1A", "EU"}},     // "*" is no part of the prefix
      {"SP9ABC/P", {"SP", "EU"}},  // portable suffixes do not count
      {"SP9ABC/2", {"SP", "EU"}},
      {"W1AW/SP", {"SP", "EU"}},  // the shorter part names the country
      {"SP/W1AW", {"SP", "EU"}},
      // Suffixes of how a station works name no country; a prefix part does.
      {"KA2CKI/R", {"K", "NA"}},
      {"W1ABC/A", {"K", "NA"}},
      {"W1ABC/B", {"K", "NA"}},
      {"SP9ABC/QRP", {"SP", "EU"}},
      {"SP9ABC/LH", {"SP", "EU"}},
      {"W1ABC/KH6", {"K", "OC"}},
      // Of two parts as long, the first names the country.
      {"SP9AB/W1ABC", {"SP", "EU"}},
      {"W1ABC/SP9AB", {"K", "NA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    const CountryOf* found = file.Lookup(c.call);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, c.where);
  }
  EXPECT_EQ(file.Lookup("ZZ9ZZ"), nullptr);
  EXPECT_EQ(file.Lookup(""), nullptr);
  ASSERT_NE(file.ByName("poland"), nullptr);
  EXPECT_EQ(*file.ByName("poland"), (CountryOf{"SP", "EU"}));
  EXPECT_EQ(file.ByName("Nowhere"), nullptr);
}

TEST(CountryFile, APrefixWithAnOddCharacterIsStillFound) {
  const CountryFile countries = CountryFile::Parse(
      "Poland:  15:  28:  EU:  52.28:  -18.67:  -1.0:  SP:\n    SP,S#P;\n"
      "Odd Land:  1:  1:  OC:  0:  0:  0:  X#:\n    X#,X#1;\n");
  struct Case {
    const char* call;
    const char* prefix;  // empty: none
  };
  for (const Case& test : {Case{"X#1ABC", "X#"}, Case{"x#9abc", "X#"}, Case{"S#P1AB", "SP"},
                           Case{"SP1ABC", "SP"}, Case{"X1ABC", ""}, Case{"#", ""}}) {
    const auto found = countries.Lookup(test.call);
    EXPECT_EQ(found ? found->dxccPrefix : "", test.prefix) << test.call;
  }
}

TEST(CountryFile, EveryOneOfManyExactCallsIsFoundAndNoOtherCall) {
  // Thousands of exact calls, as a real file lists, in lower case and
  // beyond the look-up's stack buffer too; each placed in another country
  // than its prefix says.
  std::string text = "Poland: 15: 28: EU: 52.28: -18.67: -1.0: SP:\n    SP;\n";
  text += "Antarctica: 39: 67: SA: -90.00: 0.00: 0.0: CE9:\n    CE9";
  std::vector<std::string> exact;
  for (int i = 0; i < 4000; ++i) {
    std::string call = "sp" + std::to_string(i % 10) + "a" + std::to_string(i);
    if (i % 500 == 0) call += "/" + std::string(40, 'x');
    exact.push_back(call);
    text += ",=" + call + (i % 3 == 0 ? "{AN}" : "");
  }
  text += ";\n";
  const CountryFile file = CountryFile::Parse(text);
  for (std::size_t i = 0; i < exact.size(); ++i) {
    const CountryOf* where = file.Lookup(exact[i]);  // in lower case, as logged
    ASSERT_NE(where, nullptr) << exact[i];
    EXPECT_EQ(*where, (CountryOf{"CE9", i % 3 == 0 ? "AN" : "SA"})) << exact[i];
    // One byte more or another is not the exact call: the prefix counts.
    for (const std::string& other :
         {exact[i] + "B", exact[i].substr(0, exact[i].size() - 1) + "Z"}) {
      const CountryOf* byPrefix = file.Lookup(other);
      ASSERT_NE(byPrefix, nullptr) << other;
      EXPECT_EQ(byPrefix->dxccPrefix, "SP") << other;
    }
  }
}

TEST(CountryFile, ATextWithoutACountryIsNone) {
  for (const char* text : {"", "\n\n", "   \r\n"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(CountryFile::Parse(text), std::runtime_error);
  }
}

TEST(CountryFile, AHeadingOfTooFewFieldsIsNamed) {
  try {
    CountryFile::Parse("Poland: 15: 28: EU:\n    SP;\n");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Country file line 1: not a country heading");
  }
}

}  // namespace
}  // namespace zeltra
