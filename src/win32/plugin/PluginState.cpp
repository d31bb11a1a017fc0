#include "win32/plugin/PluginState.h"

namespace zeltra::win32 {

TQSOData g_currentContact{};
TfmMainForm* g_statisticsWindow = nullptr;
TfmDomList* g_voivodeshipWindow = nullptr;

}  // namespace zeltra::win32
