#include "core/logfile/BandPlan.h"

#include <gtest/gtest.h>

#include <utility>

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

// Cabrillo's designators of the bands from 1.2 GHz up, each to its band.
TEST(BandPlan, CabrilloDesignatorsAboveNineHundredMegahertz) {
  const std::pair<const char*, const char*> designators[] = {
      {"1.2G", "1296"},   {"2.3G", "2304"},   {"3.4G", "3456"},   {"5.7G", "5760"},
      {"10G", "10368"},   {"24G", "24192"},   {"47G", "47088"},   {"75G", "75976"},
      {"122G", "122250"}, {"134G", "134928"}, {"241G", "241920"}, {"LIGHT", "LIGHT"},
      {"light", "LIGHT"}, {"1.2g", "1296"},   {"902", "902"}};
  for (const auto& [designator, band] : designators)
    EXPECT_EQ(BandOfCabrilloFrequency(designator), band) << designator;
  EXPECT_EQ(BandOfCabrilloFrequency("1296000"), "1296");  // in kilohertz
  EXPECT_EQ(BandOfCabrilloFrequency("1.3G"), std::nullopt);
  EXPECT_EQ(BandOfCabrilloFrequency("G"), std::nullopt);
}

// Every band of the ADIF enumeration by its name and at both its edges,
// and no band a hair beyond them.
TEST(BandPlan, EveryBandsEdges) {
  struct Band {
    const char* name;
    double lowest;
    double highest;
    const char* text;
  };
  const Band bands[] = {{"2190m", 0.1357, 0.1378, "0.136"},
                        {"630m", 0.472, 0.479, "0.472"},
                        {"560m", 0.501, 0.504, "0.501"},
                        {"160m", 1.8, 2.0, "1.8"},
                        {"80m", 3.5, 4.0, "3.5"},
                        {"60m", 5.06, 5.45, "5"},
                        {"40m", 7.0, 7.3, "7"},
                        {"30m", 10.1, 10.15, "10"},
                        {"20m", 14.0, 14.35, "14"},
                        {"17m", 18.068, 18.168, "18"},
                        {"15m", 21.0, 21.45, "21"},
                        {"12m", 24.890, 24.99, "24"},
                        {"10m", 28.0, 29.7, "28"},
                        {"8m", 40.0, 45.0, "40"},
                        {"6m", 50.0, 54.0, "50"},
                        {"5m", 54.000001, 69.9, "54"},
                        {"4m", 70.0, 71.0, "70"},
                        {"2m", 144.0, 148.0, "144"},
                        {"1.25m", 222.0, 225.0, "222"},
                        {"70cm", 420.0, 450.0, "432"},
                        {"33cm", 902.0, 928.0, "902"},
                        {"23cm", 1240.0, 1300.0, "1296"},
                        {"13cm", 2300.0, 2450.0, "2304"},
                        {"9cm", 3300.0, 3500.0, "3456"},
                        {"6cm", 5650.0, 5925.0, "5760"},
                        {"3cm", 10000.0, 10500.0, "10368"},
                        {"1.25cm", 24000.0, 24250.0, "24192"},
                        {"6mm", 47000.0, 47200.0, "47088"},
                        {"4mm", 75500.0, 81000.0, "75976"},
                        {"2.5mm", 119980.0, 123000.0, "122250"},
                        {"2mm", 134000.0, 149000.0, "134928"},
                        {"1mm", 241000.0, 250000.0, "241920"}};
  constexpr double kHair = 0.0000005;
  for (const Band& band : bands) {
    SCOPED_TRACE(band.name);
    EXPECT_EQ(BandOfAdifName(band.name), band.text);
    EXPECT_EQ(BandOfMegahertz(band.lowest), band.text);
    EXPECT_EQ(BandOfMegahertz(band.highest), band.text);
    EXPECT_EQ(BandOfMegahertz((band.lowest + band.highest) / 2), band.text);
    EXPECT_NE(BandOfMegahertz(band.lowest - kHair), band.text);
    EXPECT_NE(BandOfMegahertz(band.highest + kHair), band.text);
  }
  EXPECT_EQ(BandOfCabrilloFrequency("14350"), "14");
  EXPECT_EQ(BandOfCabrilloFrequency("29700"), "28");
  EXPECT_EQ(BandOfCabrilloFrequency("29701"), std::nullopt);
  EXPECT_EQ(BandOfCabrilloFrequency("1800"), "1.8");
  EXPECT_EQ(BandOfCabrilloFrequency("1799"), std::nullopt);
}

}  // namespace
}  // namespace zeltra
