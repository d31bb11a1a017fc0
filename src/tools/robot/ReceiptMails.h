#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/robot/store/KeptLog.h"
#include "tools/robot/store/Mail.h"

namespace zeltra::robot {

// The mails an upload sends: its receipt, with its key and notes, to the
// address its log names; and for a held upload, a word to the address of
// the call's current log that another upload came for its call (nothing
// of who sent it). An address that is no address gets nothing.
std::vector<Mail> ReceiptMailsOf(const Receipt& receipt, const std::vector<std::string>& notes,
                                 const std::optional<std::string>& email,
                                 const std::optional<std::string>& currentEmail);

}  // namespace zeltra::robot
