#include "tools/score/ContactRows.h"

#include <algorithm>
#include <utility>

#include "core/scoring/Scorer.h"

namespace zeltra::score {

std::string Multipliers(const ContactOutcome& outcome) {
  std::string brought;
  for (const auto& [got, name] :
       {std::pair{outcome.voivodeship, "voivodeship"}, std::pair{outcome.dxcc, "dxcc"},
        std::pair{outcome.continent, "continent"}}) {
    if (!got) continue;
    if (!brought.empty()) brought += ' ';
    brought += name;
  }
  return brought;
}

ContactRow RowOf(const ContactOutcome& outcome) {
  const Contact& contact = outcome.contact;
  ContactRow row{.position = outcome.position,
                 .call = contact.callSign,
                 .band = contact.band,
                 .mode = contact.mode,
                 .continent = contact.continent,
                 .dxcc = contact.dxccPrefix,
                 .points = std::nullopt,
                 .duplicate = outcome.points == kDuplicate,
                 .multipliers = Multipliers(outcome),
                 .leftOut = {}};
  if (!row.duplicate) row.points = outcome.points;
  return row;
}

std::string LeftOutSummary(const std::vector<std::pair<std::string, std::size_t>>& leftOut) {
  std::vector<std::pair<std::string, std::size_t>> reasons;
  for (const auto& [why, count] : leftOut) {
    std::string reason = why;
    if (reason.rfind("mode ", 0) == 0)
      reason = "in " + reason.substr(5);
    else if (reason.rfind("band ", 0) == 0)
      reason = "on " + reason.substr(5) + " MHz";
    else if (reason == "no date and time")
      reason = "without date and time";
    reasons.emplace_back(reason, count);
  }
  std::string text;
  for (std::size_t i = 0; i < reasons.size(); ++i) {
    if (i > 0) text += i + 1 == reasons.size() ? " and " : ", ";
    text += std::to_string(reasons[i].second);
    if (i == 0) text += reasons[i].second == 1 ? " contact" : " contacts";
    text += " " + reasons[i].first;
  }
  return text + " left out";
}

}  // namespace zeltra::score
