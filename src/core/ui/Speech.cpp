#include "core/ui/Speech.h"

#include "core/scoring/ContestRules.h"

namespace zeltra {

std::optional<std::pair<std::size_t, std::size_t>> CellOfChild(long child) {
  if (child < 1 || child > static_cast<long>(kTableCells)) return std::nullopt;
  const auto index = static_cast<std::size_t>(child - 1);
  return std::pair{index % StatisticTable::kColumns, index / StatisticTable::kColumns};
}

CellSpeech SpeechOfCell(const StatisticTable& table, std::size_t column, std::size_t row) {
  CellSpeech speech;
  speech.name = table.Cell(column, row);
  if (row == 0) {
    speech.description = "column heading";
    return speech;
  }
  if (column == 0) {
    speech.description = "row heading";
    return speech;
  }
  if (speech.name.empty()) speech.name = "empty";
  const std::string& band = table.Cell(0, row);
  const bool totalRow = row == StatisticTable::kTotalRow;
  speech.description =
      (totalRow || band.empty() ? band : band + " m") + ", " + table.Cell(column, 0);
  return speech;
}

std::string SpeechOfLetter(LetterState state) {
  return state == LetterState::kWorked ? "worked" : "not worked";
}

std::string SpeechOfBand(int band) {
  const auto chosen = BandNumbered(band);
  return chosen ? "band " + std::string(chosen->text) + " MHz" : "no band chosen";
}

}  // namespace zeltra
