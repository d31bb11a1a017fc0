#pragma once

#include <cstdint>
#include <istream>

#include "core/logscore/LogReading.h"

namespace zeltra {

// Reads an ADIF log in two parts at once, with what ReadAdifLog gives:
// whole is the file from its start, fromMiddle a second stream of the same
// file from byte middle on, read on a thread of its own. Where a record
// ends cannot be told from the middle of a file (a value may hold "<EOR>"),
// so the second part's records are taken from its first record's end on,
// and joined only when the reading from the start ends a record at that
// same place; otherwise that reading goes on alone, as it does when no
// thread can be had or the second stream cannot be read.
LogContents ReadAdifLogInTwo(std::istream& whole, std::istream& fromMiddle, std::uint64_t middle,
                             const ReadOptions& options);

}  // namespace zeltra
