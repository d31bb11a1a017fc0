#include "organiser/reading/ProblemKinds.h"

namespace zeltra::organiser {

std::string ProblemKindText(ProblemKind kind, std::string_view positionWord) {
  switch (kind) {
    case ProblemKind::kSkipped:
      return std::string(positionWord) + "s skipped";
    case ProblemKind::kReadingEnded:
      return "reading ended";
    case ProblemKind::kFieldGivenTwice:
      return "field given twice";
    case ProblemKind::kBandAndFrequencyDisagree:
      return "BAND and FREQ disagree";
    case ProblemKind::kFrequencyUnreadable:
      return "FREQ not a frequency";
    case ProblemKind::kCallWithoutCountry:
      return "call without a country";
    case ProblemKind::kManyCallsWithoutCountry:
      return "many calls without a country";
    case ProblemKind::kTextTooLong:
      return "text longer than the plug-in's record";
    case ProblemKind::kOtherOwnCall:
      return "own call not the first record's";
    case ProblemKind::kOwnCallNotHeaders:
      return "own call not the header's";
  }
  return "other problems";
}

}  // namespace zeltra::organiser
