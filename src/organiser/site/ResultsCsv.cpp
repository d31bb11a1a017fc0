#include "organiser/site/ResultsCsv.h"

#include <string>
#include <vector>

#include "organiser/files/FileNames.h"
#include "organiser/results/TextColumns.h"

namespace zeltra::organiser {
namespace {

std::string Number(const std::optional<std::size_t>& value) {
  return value ? std::to_string(*value) : std::string();
}

}  // namespace

void WriteResultsCsv(std::ostream& out, const SiteContents& site) {
  out << CsvLine({"Rank", "Call", "Categories", "Category rank", "DXCC", "DXCC rank", "Voivodeship",
                  "Voivodeship rank", "QSOs", "Claimed", "Score", "Checked score", "NIL",
                  "Busted calls", "Busted exchanges", "Uniques", "Status", "File"});
  for (const SiteEntry& entry : site.ranked) {
    const CheckedLog& log = *entry.log;
    const bool scored = !log.log.Failed();
    const bool checked = site.checked && log.IsChecked();
    const auto count = [&](Verdict verdict) {
      return checked ? std::to_string(log.Count(verdict)) : std::string();
    };
    out << CsvLine(
        {Number(entry.rank), log.log.callSign, log.log.categories, Number(entry.categoryRank),
         log.log.own.dxccPrefix, Number(entry.countryRank),
         log.voivodeship ? std::string(1, *log.voivodeship) : std::string(),
         Number(entry.voivodeshipRank),
         scored ? std::to_string(log.log.score->qsos) : std::string(), log.log.claimed.value_or(""),
         scored ? std::to_string(log.log.score->Score()) : std::string(),
         checked ? std::to_string(log.CheckedScore()) : std::string(), count(Verdict::kNil),
         count(Verdict::kBustedCall), count(Verdict::kBustedExchange), count(Verdict::kUnique),
         site.checked ? log.Status() : log.log.Status(), log.FileNames()});
  }
}

}  // namespace zeltra::organiser
