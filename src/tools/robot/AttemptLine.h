#pragma once

#include <ostream>

#include "tools/robot/store/KeptLog.h"

namespace zeltra::robot {

// One attempt on one line, as the robot tells the organiser on standard
// error: time, address, outcome and status, call, size, SHA-256, reason.
// A client's text is shown with its control characters and bytes that are
// no UTF-8 as \xHH, so that no line can be forged or break a terminal.
void WriteAttemptLine(std::ostream& out, const Attempt& attempt);

}  // namespace zeltra::robot
