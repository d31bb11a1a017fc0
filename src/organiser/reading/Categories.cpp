#include "organiser/reading/Categories.h"

#include <algorithm>
#include <initializer_list>

#include "core/scoring/ContestRules.h"
#include "core/text/Ascii.h"

namespace zeltra::organiser {
namespace {

constexpr std::array<std::string_view, kCategoryKeys> kKeyNames = {
    "OPERATOR", "ASSISTED", "BAND", "MODE", "POWER", "STATION", "TRANSMITTER", "TIME", "OVERLAY"};
constexpr std::string_view kCategoryTag = "CATEGORY";
constexpr std::string_view kKeyPrefix = "CATEGORY-";
constexpr std::string_view kAllBands = "ALL";

// Each key's values as Cabrillo spells them.
const std::array<std::vector<std::string_view>, kCategoryKeys>& KnownValues() {
  static const std::array<std::vector<std::string_view>, kCategoryKeys> known = {{
      // Cabrillo 3.0's, then 2.0's multi-operator ones, which logs still send.
      {"SINGLE-OP", "MULTI-OP", "CHECKLOG", "MULTI-ONE", "MULTI-TWO", "MULTI-MULTI",
       "MULTI-LIMITED", "MULTI-UNLIMITED"},
      {"ASSISTED", "NON-ASSISTED"},
      {"ALL", "160M", "80M", "40M", "20M", "15M", "10M"},
      {"RTTY", "DIGI", "MIXED", "CW", "SSB", "FM"},
      {"HIGH", "LOW", "QRP"},
      {"FIXED", "MOBILE", "PORTABLE", "ROVER", "ROVER-LIMITED", "ROVER-UNLIMITED", "EXPEDITION",
       "HQ", "SCHOOL", "DISTRIBUTED", "EXPLORER"},
      {"ONE", "TWO", "LIMITED", "UNLIMITED", "SWL"},
      {"6-HOURS", "8-HOURS", "12-HOURS", "24-HOURS"},
      {"CLASSIC", "ROOKIE", "TB-WIRES", "YOUTH", "NOVICE-TECH", "OVER-50", "YL"},
  }};
  return known;
}

// Other spellings loggers and people use, as Cabrillo's own.
struct Spelling {
  CategoryKey key;
  std::string_view other;
  std::string_view value;
};
constexpr Spelling kSpellings[] = {
    {CategoryKey::kOperator, "SINGLE", "SINGLE-OP"},
    {CategoryKey::kOperator, "SO", "SINGLE-OP"},
    {CategoryKey::kOperator, "SINGLE-OPERATOR", "SINGLE-OP"},
    {CategoryKey::kOperator, "MULTI", "MULTI-OP"},
    {CategoryKey::kOperator, "MO", "MULTI-OP"},
    {CategoryKey::kOperator, "MULTI-OPERATOR", "MULTI-OP"},
    {CategoryKey::kOperator, "CHECK-LOG", "CHECKLOG"},
    {CategoryKey::kOperator, "CHECK", "CHECKLOG"},
    {CategoryKey::kAssisted, "NON-ASSISTED", "NON-ASSISTED"},
    {CategoryKey::kAssisted, "NONASSISTED", "NON-ASSISTED"},
    {CategoryKey::kAssisted, "UNASSISTED", "NON-ASSISTED"},
    {CategoryKey::kBand, "ALL-BAND", "ALL"},
    {CategoryKey::kBand, "ALLBAND", "ALL"},
    {CategoryKey::kBand, "ALL-BANDS", "ALL"},
    {CategoryKey::kPower, "L", "LOW"},
    {CategoryKey::kPower, "LP", "LOW"},
    {CategoryKey::kPower, "H", "HIGH"},
    {CategoryKey::kPower, "HP", "HIGH"},
    {CategoryKey::kMode, "DIGITAL", "DIGI"},
    {CategoryKey::kMode, "MIX", "MIXED"},
    {CategoryKey::kTransmitter, "1", "ONE"},
    {CategoryKey::kTransmitter, "2", "TWO"},
};

// Upper case, blanks at the ends gone, blanks within made one joiner
// ("single op" is SINGLE-OP with "-").
std::string Normalised(std::string_view value, char joiner = ' ') {
  std::string text;
  bool blank = false;
  for (const char c : value) {
    if (c == ' ' || c == '\t' || c == '_') {
      blank = !text.empty();
      continue;
    }
    if (blank) text += joiner;
    blank = false;
    text += AsciiUpper(c);
  }
  return text;
}

// A band in metres or megahertz, with or without its unit, as 20M
// ("20 m" is 20-M by then).
std::optional<std::string> BandValue(std::string text) {
  for (const std::string_view unit : {"-MHZ", "MHZ", "-M", "M"})
    if (text.size() > unit.size() &&
        text.compare(text.size() - unit.size(), unit.size(), unit) == 0) {
      text.resize(text.size() - unit.size());
      break;
    }
  for (const Band& band : kBands) {
    if (band.rowHeading.empty()) continue;
    if (text == band.rowHeading || text == band.text) return std::string(band.rowHeading) + "M";
  }
  return std::nullopt;
}

// The value as Cabrillo spells it for its key, when it is one the contest
// knows; the normalised text otherwise.
std::pair<std::string, bool> Spelled(CategoryKey key, std::string_view given) {
  const auto& known = KnownValues()[static_cast<std::size_t>(key)];
  const auto isKnown = [&](const std::string& text) {
    return std::find(known.begin(), known.end(), text) != known.end();
  };
  // Blanks within read as hyphens where that makes a value the contest
  // knows ("SINGLE OP"); an unknown value keeps its blanks.
  std::string text = Normalised(given, '-');
  for (const Spelling& spelling : kSpellings)
    if (spelling.key == key && spelling.other == text) text = spelling.value;
  if (key == CategoryKey::kBand && text != kAllBands)
    if (std::optional<std::string> band = BandValue(text)) text = *band;
  if (isKnown(text)) return {text, true};
  return {Normalised(given), false};
}

std::optional<CategoryKey> KeyNamed(std::string_view name) {
  for (std::size_t i = 0; i < kKeyNames.size(); ++i)
    if (kKeyNames[i] == name) return static_cast<CategoryKey>(i);
  return std::nullopt;
}

void Declare(DeclaredCategories& categories, CategoryKey key, std::string_view value) {
  auto [text, known] = Spelled(key, value);
  if (text.empty()) return;
  if (!known)
    categories.unknown.push_back(std::string(kKeyPrefix) + std::string(CategoryKeyName(key)) +
                                 ": " + text);
  std::string& kept = categories.values[static_cast<std::size_t>(key)];
  if (kept.empty()) kept = std::move(text);
}

// A word of Cabrillo 2.0's CATEGORY line, given to the first key that
// knows it.
void DeclareWord(DeclaredCategories& categories, std::string_view word) {
  for (std::size_t i = 0; i < kCategoryKeys; ++i) {
    const auto key = static_cast<CategoryKey>(i);
    if (Spelled(key, word).second) {
      Declare(categories, key, word);
      return;
    }
  }
  if (!Normalised(word).empty())
    categories.unknown.push_back(std::string(kCategoryTag) + ": " + Normalised(word));
}

std::string Joined(const DeclaredCategories& categories, std::initializer_list<CategoryKey> keys) {
  std::string text;
  for (const CategoryKey key : keys) {
    const std::string& value = categories.Value(key);
    if (value.empty()) continue;
    if (!text.empty()) text += ' ';
    text += value;
  }
  return text;
}

}  // namespace

std::string_view CategoryKeyName(CategoryKey key) {
  return kKeyNames[static_cast<std::size_t>(key)];
}

std::optional<std::string_view> DeclaredCategories::SingleBand() const {
  const std::string& band = Value(CategoryKey::kBand);
  for (const Band& known : kBands)
    if (!known.rowHeading.empty() && band == std::string(known.rowHeading) + "M") return known.text;
  return std::nullopt;
}

bool DeclaredCategories::SingleTransmitter() const {
  const std::string& operators = Value(CategoryKey::kOperator);
  return operators == "SINGLE-OP" || operators == "MULTI-ONE" ||
         Value(CategoryKey::kTransmitter) == "ONE";
}

std::string DeclaredCategories::Ranked() const {
  return Joined(*this, {CategoryKey::kOperator, CategoryKey::kAssisted, CategoryKey::kBand,
                        CategoryKey::kPower, CategoryKey::kTransmitter});
}

std::string DeclaredCategories::Declared() const {
  return Joined(*this, {CategoryKey::kOperator, CategoryKey::kAssisted, CategoryKey::kBand,
                        CategoryKey::kMode, CategoryKey::kPower, CategoryKey::kStation,
                        CategoryKey::kTransmitter, CategoryKey::kTime, CategoryKey::kOverlay});
}

DeclaredCategories CategoriesOf(const std::vector<std::pair<std::string, std::string>>& tags) {
  DeclaredCategories categories;
  // The CATEGORY-* keys first: where the 2.0 line says otherwise, they hold.
  for (const auto& [tag, value] : tags) {
    if (tag.rfind(kKeyPrefix, 0) != 0) continue;
    const std::string name = tag.substr(kKeyPrefix.size());
    if (const std::optional<CategoryKey> key = KeyNamed(name))
      Declare(categories, *key, value);
    else if (!Normalised(value).empty())
      categories.unknown.push_back(Normalised(tag) + ": " + Normalised(value));
  }
  for (const auto& [tag, value] : tags) {
    if (tag != kCategoryTag) continue;
    std::string_view words = value;
    while (!words.empty()) {
      const std::size_t end = std::min(words.find_first_of(" \t"), words.size());
      if (end > 0) DeclareWord(categories, words.substr(0, end));
      words.remove_prefix(std::min(end + 1, words.size()));
    }
  }
  return categories;
}

}  // namespace zeltra::organiser
