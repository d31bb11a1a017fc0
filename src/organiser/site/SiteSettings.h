#pragma once

#include <cstddef>
#include <string>

#include "core/crosscheck/WhatStays.h"

namespace zeltra::organiser {

// Where the results site goes, and what its reports say of the rules.
struct SiteSettings {
  std::string folder;
  ScoringRules scores;   // as the check applied them
  std::size_t jobs = 1;  // pages made at once
};

}  // namespace zeltra::organiser
