#include "organiser/reading/CategoryMap.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra::organiser {
namespace {

enum class Section { kNone, kValues, kNames };

std::string_view Trimmed(std::string_view text) {
  return TrimControlAndBlank(text);
}

std::optional<CategoryKey> KeyOf(std::string_view name) {
  for (std::size_t i = 0; i < kCategoryKeys; ++i)
    if (EqualsIgnoringAsciiCase(CategoryKeyName(static_cast<CategoryKey>(i)), name))
      return static_cast<CategoryKey>(i);
  return std::nullopt;
}

// A value as CategoriesOf would keep it for its key.
std::string ValueOf(CategoryKey key, std::string_view value) {
  const std::string tag = "CATEGORY-" + std::string(CategoryKeyName(key));
  return CategoriesOf({{tag, std::string(value)}}).Value(key);
}

void ReadValue(CategoryMap& map, std::size_t number, std::string_view left,
               std::string_view right) {
  const std::size_t blank = left.find_first_of(" \t");
  if (blank == std::string_view::npos)
    throw CategoryMapError(number, "a value is mapped as KEY VALUE = VALUE");
  const std::string_view keyName = left.substr(0, blank);
  const std::optional<CategoryKey> key = KeyOf(keyName);
  if (!key)
    throw CategoryMapError(number, std::string(keyName) +
                                       " is no category key (OPERATOR, ASSISTED, BAND, MODE, "
                                       "POWER, STATION, TRANSMITTER, TIME, OVERLAY)");
  const std::string from = ValueOf(*key, Trimmed(left.substr(blank)));
  const std::string to = ValueOf(*key, right);
  if (from.empty() || to.empty()) throw CategoryMapError(number, "a value is empty");
  map.values[{*key, from}] = to;
}

}  // namespace

CategoryMap ReadCategoryMap(std::istream& in) {
  CategoryMap map;
  Section section = Section::kNone;
  std::string line;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    if (text.front() == '[') {
      if (EqualsIgnoringAsciiCase(text, "[values]"))
        section = Section::kValues;
      else if (EqualsIgnoringAsciiCase(text, "[names]"))
        section = Section::kNames;
      else
        throw CategoryMapError(number, "the sections are [values] and [names]");
      continue;
    }
    const std::size_t equals = text.find('=');
    if (section == Section::kNone)
      throw CategoryMapError(number, "a line before [values] or [names]");
    if (equals == std::string_view::npos) throw CategoryMapError(number, "a line without \"=\"");
    const std::string_view left = Trimmed(text.substr(0, equals));
    const std::string_view right = Trimmed(text.substr(equals + 1));
    if (left.empty() || right.empty()) throw CategoryMapError(number, "a side of \"=\" is empty");
    if (section == Section::kValues) {
      ReadValue(map, number, left, right);
    } else {
      // The ranked category as a log declaring its words would be ranked.
      const std::string ranked = CategoriesOf({{"CATEGORY", std::string(left)}}).Ranked();
      map.names[ranked.empty() ? std::string(left) : ranked] = std::string(right);
    }
  }
  return map;
}

void ApplyCategoryMap(const CategoryMap& map, DeclaredCategories& categories) {
  if (map.values.empty()) return;
  for (std::size_t i = 0; i < kCategoryKeys; ++i) {
    const auto key = static_cast<CategoryKey>(i);
    const auto found = map.values.find({key, categories.values[i]});
    if (found == map.values.end()) continue;
    // The organiser knows the value now: it is no longer told as unknown.
    const std::string told =
        "CATEGORY-" + std::string(CategoryKeyName(key)) + ": " + categories.values[i];
    categories.unknown.erase(
        std::remove(categories.unknown.begin(), categories.unknown.end(), told),
        categories.unknown.end());
    categories.values[i] = found->second;
  }
}

std::string RankedName(const CategoryMap& map, const DeclaredCategories& categories) {
  const std::string ranked = categories.Ranked();
  const auto named = map.names.find(ranked);
  return named == map.names.end() ? ranked : named->second;
}

}  // namespace zeltra::organiser
