#include "organiser/results/TextColumns.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "core/text/Ascii.h"
#include "core/text/Utf8.h"

namespace zeltra::organiser {
namespace {

constexpr std::string_view kColumnGap = "  ";
// What a spreadsheet reads as the start of a formula.
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

constexpr std::string_view kCut = "...";

// The text as a cell shows it: whole, or cut at a character's start.
std::string Cell(std::string_view text) {
  if (text.size() <= kWidestCell) return std::string(text);
  std::size_t end = kWidestCell - kCut.size();
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end)) + std::string(kCut);
}

std::string Padded(std::string_view text, std::size_t width, bool right) {
  const std::string fill(width > text.size() ? width - text.size() : 0, ' ');
  return right ? fill + std::string(text) : std::string(text) + fill;
}

std::string Line(const std::vector<std::string>& fields, const std::vector<std::size_t>& widths,
                 const std::vector<bool>& leftAligned) {
  std::string line;
  for (std::size_t column = 0; column < fields.size(); ++column) {
    if (column > 0) line += kColumnGap;
    const bool left = column < leftAligned.size() && leftAligned[column];
    line += Padded(Cell(fields[column]), widths[column], !left);
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + "\n";
}

}  // namespace

void WriteAlignedColumns(std::ostream& out, const std::vector<std::string>& headings,
                         const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& leftAligned) {
  std::vector<std::size_t> widths(headings.size());
  for (std::size_t column = 0; column < headings.size(); ++column) {
    widths[column] = headings[column].size();
    for (const auto& row : rows)
      widths[column] = std::max(widths[column], std::min(row[column].size(), kWidestCell));
  }
  out << Line(headings, widths, leftAligned);
  for (const auto& row : rows) out << Line(row, widths, leftAligned);
}

std::string AlignedColumns(const std::vector<std::string>& headings,
                           const std::vector<std::vector<std::string>>& rows,
                           const std::vector<bool>& leftAligned) {
  std::ostringstream text;
  WriteAlignedColumns(text, headings, rows, leftAligned);
  return text.str();
}

namespace {

bool IsPlainNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) return AllDigits(text);
  return AllDigits(text.substr(0, point)) && AllDigits(text.substr(point + 1));
}

}  // namespace

std::string CsvField(std::string_view text) {
  std::string field;
  AppendCsvField(field, text);
  return field;
}

void AppendCsvField(std::string& to, std::string_view text) {
  // A spreadsheet takes a cell that starts so for a formula: a text from a
  // log ("=HYPERLINK(...)", "@SUM(...)") is shown as the text it is, after
  // a quote that the spreadsheet hides.
  const bool formula = !text.empty() &&
                       kFormulaStarts.find(text.front()) != std::string_view::npos &&
                       !IsPlainNumber(text);
  // Printable ASCII, as most calls, bands and times are, is shown as it
  // is: no copy is made of it.
  std::string shown;
  std::string_view printable = text;
  if (!IsPrintableAscii(text)) {
    shown = Printable(text);
    printable = shown;
  }
  if (!formula && std::none_of(printable.begin(), printable.end(),
                               [](char c) { return c == ',' || c == '"'; })) {
    to.append(printable);
    return;
  }
  to += formula ? "\"'" : "\"";
  for (const char c : printable) {
    if (c == '"') to += '"';
    to += c;
  }
  to += '"';
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t column = 0; column < fields.size(); ++column) {
    if (column > 0) line += ',';
    line += CsvField(fields[column]);
  }
  return line + "\n";
}

std::string StatisticTableText(const StatisticTable& table) {
  std::vector<std::size_t> widths(StatisticTable::kColumns);
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row)
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column)
      widths[column] = std::max(widths[column], table.Cell(column, row).size());
  std::vector<bool> leftAligned(StatisticTable::kColumns, false);
  leftAligned[0] = true;
  std::string text;
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row) {
    std::vector<std::string> fields;
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column)
      fields.emplace_back(table.Cell(column, row));
    text += Line(fields, widths, leftAligned);
  }
  return text;
}

}  // namespace zeltra::organiser
