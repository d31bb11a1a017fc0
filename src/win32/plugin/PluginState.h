#pragma once

#include "core/host/HostRecords.h"

namespace zeltra::win32 {

class TfmMainForm;
class TfmDomList;

// The plug-in's global state, shared by the entry points on the host's user
// interface thread: the current-contact record, which every entry point
// overwrites with the host's record before anything reads it, and the
// reference to the statistics window, empty until the first _Run and again
// after _Release, and the reference to the open voivodeship window, empty
// whenever none is open.
extern TQSOData g_currentContact;
extern TfmMainForm* g_statisticsWindow;
extern TfmDomList* g_voivodeshipWindow;

}  // namespace zeltra::win32
