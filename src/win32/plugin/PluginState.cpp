#include "win32/plugin/PluginState.h"

namespace zeltra::win32 {

TQSOData g_lastRecord{};
StatisticsWindow* g_statisticsWindow = nullptr;

}  // namespace zeltra::win32
