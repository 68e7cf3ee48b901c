#pragma once
// The plug-in's life as the host drives it: loaded, set up, torn down. Every entry
// point that changes state raises an event here; the event gate orders them.
#include <windows.h>

#include "plugin/records/event_gate.h"

// The attach step: records the module, checks the host, computes the settings path.
// False refuses the load.
bool AttachModule(HMODULE module);

void RaiseEvent(PluginEvent event);
