#pragma once

#include <cstddef>
#include <string>

#include "core/crosscheck/WhatStays.h"

namespace zeltra::organiser {

// How final the published results are, as every page says.
enum class ResultsStatus {
  kUnsaid,
  kPreliminary,  // entrants may still ask for a correction
  kFinal,
};

// What every page says of the results themselves.
struct Publication {
  std::string title = "Zeltra RTTY Contest";  // "Zeltra RTTY Contest 2026"
  ResultsStatus status = ResultsStatus::kUnsaid;
  std::string made;  // when the site was made, "2026-12-09 14:50 UTC"; none: unsaid
};

// Where the results site goes, what its reports say of the rules, and
// what it publishes.
struct SiteSettings {
  std::string folder;
  ScoringRules scores;   // as the check applied them
  std::size_t jobs = 1;  // pages made at once
  Publication publication;
  bool privateReports = false;  // the log-check reports stay off the entrants' pages
};

}  // namespace zeltra::organiser
