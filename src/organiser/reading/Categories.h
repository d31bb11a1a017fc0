#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeltra::organiser {

// The Cabrillo category keys the contest knows, in the order shown.
enum class CategoryKey {
  kOperator,
  kAssisted,
  kBand,
  kMode,
  kPower,
  kStation,
  kTransmitter,
  kTime,
  kOverlay,
};
inline constexpr std::size_t kCategoryKeys = 9;
// "OPERATOR" for CATEGORY-OPERATOR.
std::string_view CategoryKeyName(CategoryKey key);

// A log's categories as its header declares them, each value with case
// and spacing made one ("Low " and "low" are LOW) and the usual other
// spellings read as Cabrillo's own ("20" and "20 m" are 20M, "SO" is
// SINGLE-OP). A value the contest does not know is kept all the same,
// and named among the unknown, as is a key it does not know.
struct DeclaredCategories {
  std::array<std::string, kCategoryKeys> values;  // by CategoryKey; empty: not declared
  std::vector<std::string> unknown;               // "CATEGORY-POWER: MEDIUM", as normalised

  const std::string& Value(CategoryKey key) const { return values[static_cast<std::size_t>(key)]; }
  // The band of a single-band category ("14" for 20M, as contacts name
  // bands); none for ALL, or none declared.
  std::optional<std::string_view> SingleBand() const;
  // One transmitter: a single operator, or TRANSMITTER ONE.
  bool SingleTransmitter() const;
  // The category the log is ranked in: operator, assisted, band, power
  // and transmitter, as declared. Mode, station, time and overlay rank
  // nobody apart: an RTTY contest's mode is one, and a station's kind or
  // an overlay makes no main category of its own.
  std::string Ranked() const;
  // Every value declared, in the keys' order: what the entrant's page says.
  std::string Declared() const;
};

// The categories of a Cabrillo header's CATEGORY and CATEGORY-* tags
// (tag in upper case, value as given). Cabrillo 2.0's one CATEGORY line of
// several words gives each word to the key it belongs to.
DeclaredCategories CategoriesOf(const std::vector<std::pair<std::string, std::string>>& tags);

}  // namespace zeltra::organiser
