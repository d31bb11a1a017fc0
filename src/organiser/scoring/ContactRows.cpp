#include "organiser/scoring/ContactRows.h"

#include <algorithm>
#include <utility>

#include "core/scoring/Scorer.h"

namespace zeltra::organiser {

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

std::string LeftOutText(const LeftOutReason& reason) {
  switch (reason.kind) {
    case LeftOutReason::Kind::kMode:
      return "mode " + reason.detail;
    case LeftOutReason::Kind::kBand:
      return "band " + reason.detail;
    case LeftOutReason::Kind::kNoDateAndTime:
      return "no date and time";
    case LeftOutReason::Kind::kBeforePeriod:
      return "before --from";
    case LeftOutReason::Kind::kAfterPeriod:
      return "at or after --to";
    case LeftOutReason::Kind::kOffCategory:
      return "band " + reason.detail + ", not the category's";
  }
  return {};
}

namespace {

// The reasons a summary names; the others are counted together.
constexpr std::size_t kReasonsNamed = 5;

std::string SummaryWords(const LeftOutReason& reason) {
  switch (reason.kind) {
    case LeftOutReason::Kind::kMode:
      return "in " + reason.detail;
    case LeftOutReason::Kind::kBand:
      return "on " + reason.detail + " MHz";
    case LeftOutReason::Kind::kOffCategory:
      return "on " + reason.detail + " MHz";
    case LeftOutReason::Kind::kNoDateAndTime:
      return "without date and time";
    default:
      return LeftOutText(reason);
  }
}

}  // namespace

std::string LeftOutSummary(const std::vector<std::pair<LeftOutReason, std::size_t>>& reasons) {
  std::vector<std::pair<std::string, std::size_t>> parts;
  std::size_t others = 0;
  // "for 1 other reason" says less than the reason itself.
  const std::size_t named = reasons.size() <= kReasonsNamed + 1 ? reasons.size() : kReasonsNamed;
  for (std::size_t i = 0; i < reasons.size(); ++i) {
    if (i < named)
      parts.emplace_back(SummaryWords(reasons[i].first), reasons[i].second);
    else
      others += reasons[i].second;
  }
  if (others > 0)
    parts.emplace_back("for " + std::to_string(reasons.size() - named) + " other reasons", others);
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += std::to_string(parts[i].second);
    if (i == 0) text += parts[i].second == 1 ? " contact" : " contacts";
    text += " " + parts[i].first;
  }
  return text + " left out";
}

}  // namespace zeltra::organiser
