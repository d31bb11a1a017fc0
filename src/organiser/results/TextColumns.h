#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/scoring/StatisticTable.h"

namespace zeltra::organiser {

// The most of a text one cell of a table shows: a longer one is cut there,
// ending in "...", so that one long text does not widen every row.
inline constexpr std::size_t kWidestCell = 255;

// Rows of fields as text columns two blanks apart, each as wide as its
// widest field (cut at kWidestCell bytes); numbers right-aligned, the
// columns named in leftAligned left-aligned; no blank at a line's end.
void WriteAlignedColumns(std::ostream& out, const std::vector<std::string>& headings,
                         const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& leftAligned);
std::string AlignedColumns(const std::vector<std::string>& headings,
                           const std::vector<std::vector<std::string>>& rows,
                           const std::vector<bool>& leftAligned);

// A CSV field: quoted when it holds a comma or a quote, control characters
// escaped; a text a spreadsheet would take for a formula (one that starts
// with "=", "+", "-", "@", a tab or a CR, and is no number) quoted after a
// "'", so that it is shown as text.
std::string CsvField(std::string_view text);
// The same field put at the end of to: a row of many fields made with no
// text of its own for each.
void AppendCsvField(std::string& to, std::string_view text);

// Fields as one CSV line, each by CsvField, ending in a line end.
std::string CsvLine(const std::vector<std::string>& fields);

// The statistics table as the window shows it, in columns.
std::string StatisticTableText(const StatisticTable& table);

}  // namespace zeltra::organiser
