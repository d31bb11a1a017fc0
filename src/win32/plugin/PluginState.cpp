#include "plugin/PluginState.h"

namespace zeltra::win32 {

TQSOData g_currentContact{};
TfmMainForm* g_statisticsWindow = nullptr;

}  // namespace zeltra::win32
