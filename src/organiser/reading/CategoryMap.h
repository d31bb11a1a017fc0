#pragma once

#include <cstddef>
#include <istream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "organiser/reading/Categories.h"

namespace zeltra::organiser {

// The organiser's word on categories: values read as others, and names
// for the ranked categories. A small text file of two sections:
//
//   [values]
//   POWER MEDIUM = LOW
//   BAND 20 = 20M
//   [names]
//   SINGLE-OP ALL LOW = Single operator, all bands, low power
//
// Blank lines and lines starting with "#" are skipped. Keys and values are
// compared as CategoriesOf normalises them; a name is shown as written.
struct CategoryMap {
  std::map<std::pair<CategoryKey, std::string>, std::string> values;
  std::map<std::string, std::string> names;  // ranked category, as Ranked() gives it → name
};

// A line of a category map that cannot be read: its number and why.
struct CategoryMapError : std::runtime_error {
  CategoryMapError(std::size_t number, const std::string& why)
      : std::runtime_error(why), line(number) {}
  std::size_t line;
};

// Throws CategoryMapError for a line outside a section, without "=", with
// an empty side, or naming a key Cabrillo does not have.
CategoryMap ReadCategoryMap(std::istream& in);

// The categories a log declares as the map has the organiser read them:
// values mapped, and a value the map gives is one the contest knows.
void ApplyCategoryMap(const CategoryMap& map, DeclaredCategories& categories);

// The category a log is ranked in, by the map's name for it if it has one.
std::string RankedName(const CategoryMap& map, const DeclaredCategories& categories);

}  // namespace zeltra::organiser
