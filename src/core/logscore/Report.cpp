#include "core/logscore/Report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/text/Ascii.h"
#include "core/text/Number.h"

namespace zeltra {
namespace {

constexpr std::string_view kColumnGap = "  ";

std::string Padded(std::string_view text, std::size_t width, bool right) {
  const std::string fill(width > text.size() ? width - text.size() : 0, ' ');
  return right ? fill + std::string(text) : std::string(text) + fill;
}

std::string DifferenceText(const RankedLog& log) {
  const auto claimed = ClaimedNumber(log.claimed);
  return claimed ? std::to_string(*claimed - log.score.score()) : std::string();
}

std::array<std::string, 9> ResultFields(std::size_t rank, const RankedLog& log) {
  return {std::to_string(rank),
          log.callSign,
          log.categories,
          std::to_string(log.score.qsos),
          std::to_string(log.score.points),
          std::to_string(log.score.multipliers()),
          std::to_string(log.score.score()),
          log.claimed.value_or(""),
          DifferenceText(log)};
}

constexpr std::array<std::string_view, 9> kResultHeadings = {"Rank",  "Call",    "Categories",
                                                             "QSOs",  "Points",  "Multipliers",
                                                             "Score", "Claimed", "Difference"};

}  // namespace

std::string TableText(const StatisticTable& table) {
  std::array<std::size_t, StatisticTable::kColumns> widths{};
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row)
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column)
      widths[column] = std::max(widths[column], table.Cell(column, row).size());
  std::string text;
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row) {
    std::string line;
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column) {
      if (column > 0) line += kColumnGap;
      line += Padded(table.Cell(column, row), widths[column], column > 0);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string field = "\"";
  for (const char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + "\"";
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string TableCsv(const StatisticTable& table) {
  std::string csv;
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row) {
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column) {
      if (column > 0) csv += ',';
      csv += CsvField(table.Cell(column, row));
    }
    csv += '\n';
  }
  return csv;
}

std::string TableJson(const StatisticTable& table) {
  std::string json = "[";
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row) {
    json += row == 0 ? "[" : ", [";
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column) {
      if (column > 0) json += ", ";
      json += JsonString(table.Cell(column, row));
    }
    json += ']';
  }
  return json + "]";
}

std::optional<long long> ClaimedNumber(const std::optional<std::string>& claimed) {
  if (!claimed) return std::nullopt;
  return NumberOf<long long>(TrimControlAndBlank(*claimed));
}

std::vector<const RankedLog*> Ranked(const std::vector<RankedLog>& logs) {
  std::vector<const RankedLog*> ranked;
  for (const RankedLog& log : logs) ranked.push_back(&log);
  std::stable_sort(ranked.begin(), ranked.end(), [](const RankedLog* a, const RankedLog* b) {
    if (a->score.score() != b->score.score()) return a->score.score() > b->score.score();
    return a->callSign < b->callSign;
  });
  return ranked;
}

std::string ResultsText(const std::vector<RankedLog>& logs) {
  const auto ranked = Ranked(logs);
  std::vector<std::array<std::string, 9>> rows;
  for (std::size_t i = 0; i < ranked.size(); ++i) rows.push_back(ResultFields(i + 1, *ranked[i]));
  std::array<std::size_t, 9> widths{};
  for (std::size_t column = 0; column < widths.size(); ++column) {
    widths[column] = kResultHeadings[column].size();
    for (const auto& row : rows) widths[column] = std::max(widths[column], row[column].size());
  }
  const auto line = [&](const auto& fields) {
    std::string text;
    for (std::size_t column = 0; column < widths.size(); ++column) {
      if (column > 0) text += kColumnGap;
      const bool right = column != 1 && column != 2;
      text += Padded(fields[column], widths[column], right);
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text + "\n";
  };
  std::string text = line(kResultHeadings);
  for (const auto& row : rows) text += line(row);
  return text;
}

std::string ResultsCsv(const std::vector<RankedLog>& logs) {
  std::string csv;
  for (std::size_t column = 0; column < kResultHeadings.size(); ++column)
    csv += std::string(column > 0 ? "," : "") + std::string(kResultHeadings[column]);
  csv += ",File\n";
  const auto ranked = Ranked(logs);
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const auto fields = ResultFields(i + 1, *ranked[i]);
    for (std::size_t column = 0; column < fields.size(); ++column)
      csv += (column > 0 ? "," : "") + CsvField(fields[column]);
    csv += "," + CsvField(ranked[i]->file) + "\n";
  }
  return csv;
}

std::string ResultsJson(const std::vector<RankedLog>& logs) {
  std::string json = "[";
  const auto ranked = Ranked(logs);
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    const RankedLog& log = *ranked[i];
    const auto claimed = ClaimedNumber(log.claimed);
    json += i == 0 ? "\n" : ",\n";
    json +=
        "  {\"rank\": " + std::to_string(i + 1) + ", \"call\": " + JsonString(log.callSign) +
        ", \"categories\": " + JsonString(log.categories) +
        ", \"qsos\": " + std::to_string(log.score.qsos) +
        ", \"points\": " + std::to_string(log.score.points) +
        ", \"multipliers\": " + std::to_string(log.score.multipliers()) +
        ", \"score\": " + std::to_string(log.score.score()) +
        ", \"claimed\": " + (claimed ? std::to_string(*claimed) : "null") +
        ", \"difference\": " + (claimed ? std::to_string(*claimed - log.score.score()) : "null") +
        ", \"skipped\": " + std::to_string(log.skipped) + ", \"file\": " + JsonString(log.file) +
        "}";
  }
  return json + "\n]\n";
}

}  // namespace zeltra
