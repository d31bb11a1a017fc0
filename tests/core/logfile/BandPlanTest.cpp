#include "core/logfile/BandPlan.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(BandPlan, AdifNamesFrequenciesAndCabrillo) {
  const std::pair<const char*, const char*> names[] = {
      {"160m", "1.8"}, {"80M", "3.5"}, {"40m", "7"},  {"30m", "10"}, {"20m", "14"},  {"17m", "18"},
      {"15m", "21"},   {"12m", "24"},  {"10M", "28"}, {"6m", "50"},  {" 20m ", "14"}};
  for (const auto& [name, band] : names) EXPECT_EQ(BandOfAdifName(name), band) << name;
  EXPECT_EQ(BandOfAdifName("19m"), std::nullopt);
  EXPECT_EQ(BandOfAdifName(""), std::nullopt);

  EXPECT_EQ(BandOfMegahertz(14.080), "14");
  EXPECT_EQ(BandOfMegahertz(14.0), "14");
  EXPECT_EQ(BandOfMegahertz(14.35), "14");
  EXPECT_EQ(BandOfMegahertz(14.351), std::nullopt);
  EXPECT_EQ(BandOfMegahertz(1.84), "1.8");
  EXPECT_EQ(BandOfMegahertz(28.08), "28");
  EXPECT_EQ(BandOfMegahertz(11.0), std::nullopt);

  EXPECT_EQ(BandOfCabrilloFrequency("14080"), "14");
  EXPECT_EQ(BandOfCabrilloFrequency("3580"), "3.5");
  EXPECT_EQ(BandOfCabrilloFrequency("50"), "50");
  EXPECT_EQ(BandOfCabrilloFrequency("144"), "144");
  EXPECT_EQ(BandOfCabrilloFrequency("14"), std::nullopt);
  EXPECT_EQ(BandOfCabrilloFrequency("abc"), std::nullopt);
  EXPECT_EQ(BandOfCabrilloFrequency("11000"), std::nullopt);
}

}  // namespace
}  // namespace zeltra
