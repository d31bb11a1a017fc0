#pragma once

#include <string>

#include "core/scoring/Contact.h"

namespace zeltra::testing {

// What a test says about one contact; the fields it does not name are those
// of a 14 MHz RTTY contact with a German station, and the operator is SP in
// EU. contact() and own() give the values the scorer takes.
struct ContactFields {
  std::string callSign;
  std::string band = "14";
  std::string mode = "RTTY";
  std::string continent = "EU";
  std::string dxccPrefix = "DL";
  std::string report = "599";
  std::string myContinent = "EU";
  std::string myDxccPrefix = "SP";

  Contact contact() const {
    return {.callSign = callSign,
            .band = band,
            .mode = mode,
            .continent = continent,
            .dxccPrefix = dxccPrefix,
            .reportReceived = report};
  }
  OwnStation own() const { return {.continent = myContinent, .dxccPrefix = myDxccPrefix}; }
};

}  // namespace zeltra::testing
