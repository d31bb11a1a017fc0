#include "organiser/reading/OwnStationChoice.h"

#include <optional>
#include <string>

#include "core/text/Ascii.h"
#include "organiser/reading/Unscorable.h"

namespace zeltra::organiser {

OwnStation OwnStationFor(const GivenStation& given, const LogContents* log,
                         const CountryFile* countries) {
  OwnStation own;
  const CountryOf* where = nullptr;
  const std::optional<std::string> call = given.call       ? AsciiUpper(*given.call)
                                          : log != nullptr ? log->ownCall
                                                           : std::nullopt;
  if (countries != nullptr && log != nullptr && log->ownCountry && !given.call)
    where = countries->ByName(*log->ownCountry);
  if (where == nullptr && countries != nullptr && call) where = countries->Lookup(*call);
  if (where != nullptr) own = {where->continent, where->dxccPrefix};
  if (given.continent) own.continent = AsciiUpper(*given.continent);
  if (given.dxcc) own.dxccPrefix = *given.dxcc;
  if (!own.continent.empty() && !own.dxccPrefix.empty()) return own;
  if (!call)
    throw Unscorable{
        "the log names no own station (STATION_CALLSIGN, OPERATOR or CALLSIGN): give "
        "--my-call, or --my-continent and --my-dxcc",
        true};
  if (countries == nullptr)
    throw Unscorable{"no country file places the own call " + *call +
                     ": give --cty, or --my-continent and --my-dxcc"};
  throw Unscorable{"the country file does not know the own call " + *call +
                   ": give --my-continent and --my-dxcc"};
}

}  // namespace zeltra::organiser
