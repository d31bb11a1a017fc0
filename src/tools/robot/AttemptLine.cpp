#include "tools/robot/AttemptLine.h"

#include "core/text/Utf8.h"
#include "tools/robot/store/Records.h"

namespace zeltra::robot {
void WriteAttemptLine(std::ostream& out, const Attempt& attempt) {
  out << attempt.time << " " << Printable(attempt.address) << " " << OutcomeName(attempt.outcome)
      << " " << attempt.status << " " << (attempt.call.empty() ? "-" : Printable(attempt.call))
      << " " << attempt.bytes << " bytes";
  if (!attempt.sha256.empty()) out << " sha256 " << attempt.sha256;
  if (attempt.log) out << " upload " << *attempt.log;
  if (!attempt.reason.empty()) out << ": " << Printable(attempt.reason);
  if (attempt.count > 1) out << " (" << attempt.count << " times)";
  out << "\n";
}

}  // namespace zeltra::robot
