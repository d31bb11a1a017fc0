#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zeltra {

// The Zeltra RTTY Contest's rules, as data: its bands, the sixteen
// voivodeship letters, the points and the multipliers' keys. Everything
// that scores, sums or shows a contact takes them from here.

// One of the contest's nine bands.
struct Band {
  int number;                   // 1 to 9: the band buttons' tag and the digit in their names
  std::string_view text;        // the band in megahertz as the host writes it
  int summaryRow;               // the statistics table's row, 1 to 6; 0: counted in the total only
  std::string_view rowHeading;  // the row's heading, the band in metres
  int buttonPosition;           // 0 to 8: where its button stands in the voivodeship window
};

// "10" comes last among the buttons, at the right end of the row.
inline constexpr std::array<Band, 9> kBands = {{
    {1, "1.8", 1, "160", 0},
    {2, "3.5", 2, "80", 1},
    {3, "7", 3, "40", 2},
    {4, "10", 0, "", 8},
    {5, "14", 4, "20", 3},
    {6, "18", 0, "", 4},
    {7, "21", 5, "15", 5},
    {8, "24", 0, "", 6},
    {9, "28", 6, "10", 7},
}};
inline constexpr int kFirstBand = 1;
inline constexpr int kLastBand = 9;

// A band's number is its place in the table plus one, as a band is looked
// up by its number; checked when the program is built.
static_assert(
    [] {
      for (std::size_t i = 0; i < kBands.size(); ++i)
        if (kBands[i].number != static_cast<int>(i) + kFirstBand) return false;
      return kBands.back().number == kLastBand;
    }(),
    "the band table's numbers must be its places, 1 to 9");
// The band whose button is down before any band is chosen: "10".
inline constexpr int kDesignedBand = 4;

// The band numbered band, or none outside 1 to 9.
std::optional<Band> BandNumbered(int band);

// The band sync's rule: the band whose text equals text with characters
// of codes 0 to 32 trimmed from both ends; none for an empty text or a
// band outside the table. Bands are otherwise compared as exact text: the
// scorer keeps " 14" as a band of its own.
std::optional<Band> BandToShow(std::string_view text);

// The sixteen voivodeship letters, in the voivodeship window's list order.
inline constexpr std::array<char, 16> kVoivodeshipLetters = {
    'B', 'C', 'D', 'F', 'G', 'J', 'K', 'L', 'M', 'O', 'P', 'R', 'S', 'U', 'W', 'Z'};

// The voivodeship letter a received report carries: its last character,
// once characters of codes 0 to 32 are trimmed from both ends and the
// letter is upper-cased, when that is one of the sixteen.
std::optional<char> VoivodeshipLetterOf(std::string_view report);

// Points: a contact with the own country, with another station on the own
// continent, with another continent. Prefixes and continents compare
// without regard to ASCII letter case.
inline constexpr std::int32_t kOwnCountryPoints = 2;
inline constexpr std::int32_t kOwnContinentPoints = 5;
inline constexpr std::int32_t kOtherContinentPoints = 10;

std::int32_t PointsFor(std::string_view dxccPrefix, std::string_view continent,
                       std::string_view myDxccPrefix, std::string_view myContinent);

// The multipliers' keys. Voivodeships and DXCC countries count per band,
// keyed "band|item|" with the band text exactly as the host wrote it;
// continents count once over the whole contest, keyed by the continent.
// The keys compare without regard to ASCII letter case.
//
// Whether a letter is marked worked on a band is a substring test: the key
// of that band and letter, "band|letter|", occurring anywhere in a
// voivodeship key. A band text " 14" (leading blank) gives the key " 14|K|",
// which holds "14|K|", so K shows as worked on 14; "14 " (trailing blank)
// gives "14 |K|", which does not. The window shows what these keys say, so
// that behaviour is kept.
std::string BandKey(std::string_view band, std::string_view item);

}  // namespace zeltra
