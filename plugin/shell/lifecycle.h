#pragma once
// The plug-in's life as the host drives it: loaded, set up, torn down. Every entry
// point that changes state raises an event here; the event gate orders them.
#include <windows.h>

#include "plugin/records/event_gate.h"

// The attach step: records the module, checks the host, computes the settings path.
// False refuses the load.
bool AttachModule(HMODULE module);

void RaiseEvent(PluginEvent event);

// For test programs that link the plug-in's code and play several lives in one
// process: back to a plug-in just loaded, or just set up with the record as it is.
void ResetLifecycle(bool setUp);
