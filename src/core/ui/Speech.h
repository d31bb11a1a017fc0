#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/scoring/Scorer.h"
#include "core/scoring/StatisticTable.h"

namespace zeltra {

// What a screen reader says of the windows' content: computed here, so
// that the windows only hand it over.

// One cell of the statistics table: its name (the text shown; "empty" for
// a data cell with none) and its description (its row and column headings,
// "20 m, Points"; for a heading cell what kind of heading it is).
struct CellSpeech {
  std::string name;
  std::string description;
  bool operator==(const CellSpeech&) const = default;
};

inline constexpr std::size_t kTableCells = StatisticTable::kColumns * StatisticTable::kRows;

// The cell numbered child (1 to 48, row by row from the top left), as the
// accessibility interfaces number children; none outside.
std::optional<std::pair<std::size_t, std::size_t>> CellOfChild(long child);

// Reads the cell and its two headings, (0, row) and (column, 0), only.
CellSpeech SpeechOfCell(const StatisticTable& table, std::size_t column, std::size_t row);

// A voivodeship letter's state on the band shown: "worked" or "not worked".
std::string SpeechOfLetter(LetterState state);

// What the voivodeship list says of itself: the band it shows, "band 14
// MHz", or "no band chosen" in the designed state.
std::string SpeechOfBand(int band);

}  // namespace zeltra
