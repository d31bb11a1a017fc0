#pragma once

namespace zeltra::organiser {

enum class Format { kText, kCsv, kJson };

// The form of a run's results.
struct OutputSettings {
  Format format = Format::kText;
  bool contacts = false;    // a row for each contact of each log
  bool byCategory = false;  // ranked within each category
};

}  // namespace zeltra::organiser
