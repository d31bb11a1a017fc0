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

// The ADIF band enumeration's edges, from 2190 m to 70 cm.
constexpr std::array<BandEdges, 21> kBandEdges = {{
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
}};

// The Cabrillo band designators above 30 MHz, as the host writes them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kCabrilloDesignators = {
    {{"50", "50"}, {"70", "70"}, {"144", "144"}, {"222", "222"}, {"432", "432"}, {"902", "902"}}};

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
    if (text == designator) return band;
  const auto kilohertz = NumberOf<double>(text);
  if (!kilohertz || *kilohertz < 1000) return std::nullopt;
  return BandOfMegahertz(*kilohertz / 1000.0);
}

}  // namespace zeltra
