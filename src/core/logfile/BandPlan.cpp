#include "core/logfile/BandPlan.h"

#include <array>

#include "core/text/Ascii.h"
#include "core/text/Number.h"

namespace zeltra {
namespace {

struct BandEdges {
  std::string_view adifName;  // upper case
  double lowest;              // MHz
  double highest;
  std::string_view text;  // as the host writes it
};

// The ADIF band enumeration's edges, from 2190 m to 1 mm; the bands above
// 30 MHz named by their usual calling frequency.
constexpr std::array<BandEdges, 32> kBandEdges = {{
    {"2190M", 0.1357, 0.1378, "0.136"},
    {"630M", 0.472, 0.479, "0.472"},
    {"560M", 0.501, 0.504, "0.501"},
    {"160M", 1.8, 2.0, "1.8"},
    {"80M", 3.5, 4.0, "3.5"},
    {"60M", 5.06, 5.45, "5"},
    {"40M", 7.0, 7.3, "7"},
    {"30M", 10.1, 10.15, "10"},
    {"20M", 14.0, 14.35, "14"},
    {"17M", 18.068, 18.168, "18"},
    {"15M", 21.0, 21.45, "21"},
    {"12M", 24.890, 24.99, "24"},
    {"10M", 28.0, 29.7, "28"},
    {"8M", 40.0, 45.0, "40"},
    {"6M", 50.0, 54.0, "50"},
    {"5M", 54.000001, 69.9, "54"},
    {"4M", 70.0, 71.0, "70"},
    {"2M", 144.0, 148.0, "144"},
    {"1.25M", 222.0, 225.0, "222"},
    {"70CM", 420.0, 450.0, "432"},
    {"33CM", 902.0, 928.0, "902"},
    {"23CM", 1240.0, 1300.0, "1296"},
    {"13CM", 2300.0, 2450.0, "2304"},
    {"9CM", 3300.0, 3500.0, "3456"},
    {"6CM", 5650.0, 5925.0, "5760"},
    {"3CM", 10000.0, 10500.0, "10368"},
    {"1.25CM", 24000.0, 24250.0, "24192"},
    {"6MM", 47000.0, 47200.0, "47088"},
    {"4MM", 75500.0, 81000.0, "75976"},
    {"2.5MM", 119980.0, 123000.0, "122250"},
    {"2MM", 134000.0, 149000.0, "134928"},
    {"1MM", 241000.0, 250000.0, "241920"},
}};

// The Cabrillo band designators above 30 MHz, as the host writes them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kCabrilloDesignators = {{
    {"50", "50"},
    {"70", "70"},
    {"144", "144"},
    {"222", "222"},
    {"432", "432"},
    {"902", "902"},
    {"1.2G", "1296"},
    {"2.3G", "2304"},
    {"3.4G", "3456"},
    {"5.7G", "5760"},
    {"10G", "10368"},
    {"24G", "24192"},
    {"47G", "47088"},
    {"75G", "75976"},
    {"122G", "122250"},
    {"134G", "134928"},
    {"241G", "241920"},
    {"LIGHT", "LIGHT"},
}};

}  // namespace

std::optional<std::string_view> BandOfAdifName(std::string_view name) {
  name = TrimControlAndBlank(name);
  for (const BandEdges& band : kBandEdges)
    if (EqualsIgnoringAsciiCase(band.adifName, name)) return band.text;
  return std::nullopt;
}

std::optional<std::string_view> BandOfMegahertz(double megahertz) {
  for (const BandEdges& band : kBandEdges)
    if (megahertz >= band.lowest && megahertz <= band.highest) return band.text;
  return std::nullopt;
}

std::optional<std::string_view> BandOfCabrilloFrequency(std::string_view text) {
  text = TrimControlAndBlank(text);
  for (const auto& [designator, band] : kCabrilloDesignators)
    if (EqualsIgnoringAsciiCase(text, designator)) return band;
  const auto kilohertz = NumberOf<double>(text);
  if (!kilohertz || *kilohertz < 1000) return std::nullopt;
  return BandOfMegahertz(*kilohertz / 1000.0);
}

}  // namespace zeltra
