#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/WhatStays.h"

namespace zeltra::organiser {

// The organiser's check of a folder of logs, every one against the others.
struct CheckSettings {
  std::string folder;
  CheckRules rules;                  // the window, and when a station may be worked again
  ScoringRules scores;               // what the verdicts take off
  std::vector<std::string> outputs;  // what the run writes: if in the folder, no log
  // Calls the organiser keeps out of the ranking, each with the reason
  // shown: checked all the same (their lines confirm others'), not placed.
  std::map<std::string, std::string> excluded;
};

}  // namespace zeltra::organiser
