#pragma once

#include <optional>
#include <string_view>

namespace zeltra {

// Bands as logs name them, taken to the band text the host writes (the band
// in megahertz: "1.8", "3.5", "7", ... "28", and "50", "144", ... beyond).
// The texts answered are the plan's own, there for the whole run.

// An ADIF BAND ("20m", "20M", "70cm"); none for a name ADIF does not know.
std::optional<std::string_view> BandOfAdifName(std::string_view name);

// A frequency in megahertz, by the ADIF band edges; none outside every band.
std::optional<std::string_view> BandOfMegahertz(double megahertz);

// A Cabrillo QSO line's frequency: kilohertz ("14025"), or a band
// designator for the bands above 30 MHz ("50", "144", "1.2G" ... "241G",
// "LIGHT"; the bands from 1.2 GHz named by their calling frequency,
// "1296"); none for anything else.
std::optional<std::string_view> BandOfCabrilloFrequency(std::string_view text);

}  // namespace zeltra
