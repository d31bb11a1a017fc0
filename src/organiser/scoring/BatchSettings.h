#pragma once

#include <cstddef>

#include "organiser/reading/CategoryMap.h"
#include "organiser/reading/ReadSettings.h"

namespace zeltra::organiser {

// The order a log's contacts are replayed in: by call sign, byte for byte,
// as the plug-in's "Recalc" does, or as the log has them.
enum class Order { kByCallSign, kLog };

// How a batch of logs is scored.
struct BatchSettings {
  ReadSettings reading;
  GivenStation station;
  CategoryMap categories;  // the organiser's reading of the declared categories
  Order order = Order::kByCallSign;
  bool listContacts = false;  // each contact's row to the sink, and those left out
  bool forCheck = false;      // keep each line's time and exchanges, and those left out
  bool forSite = false;       // keep the own station, the header and the activity
  bool quiet = false;         // count warnings, do not list them
  std::size_t jobs = 1;       // logs read at once
  // A large ADIF log read in two parts at once: where a core would wait.
  bool readLargeLogsInTwo = false;
};

}  // namespace zeltra::organiser
