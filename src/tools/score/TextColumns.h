#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/scoring/StatisticTable.h"

namespace zeltra::score {

// Rows of fields as text columns two blanks apart, each as wide as its
// widest field; numbers right-aligned, the columns named in leftAligned
// left-aligned; no blank at a line's end.
std::string AlignedColumns(const std::vector<std::string>& headings,
                           const std::vector<std::vector<std::string>>& rows,
                           const std::vector<bool>& leftAligned);

// A CSV field: quoted when it holds a comma or a quote, control characters
// escaped; a text a spreadsheet would take for a formula (one that starts
// with "=", "+", "-", "@", a tab or a CR, and is no number) quoted after a
// "'", so that it is shown as text.
std::string CsvField(std::string_view text);

// The statistics table as the window shows it, in columns.
std::string StatisticTableText(const StatisticTable& table);

}  // namespace zeltra::score
