#pragma once

#include "core/records/HostRecords.h"

namespace zeltra::win32 {

class StatisticsWindow;

// The plug-in's global state, on the host's user-interface thread: the last
// record the host passed, which every entry point overwrites before
// anything reads it, and the statistics window, empty until the first _Run
// and again after _Release or a close. Nothing else is global.
extern TQSOData g_lastRecord;
extern StatisticsWindow* g_statisticsWindow;

}  // namespace zeltra::win32
