#pragma once
// The plug-in's life as the host drives it: loaded, set up, torn down. Every entry
// point that changes state raises an event here; the event gate orders them.
#include <windows.h>

#include "plugin/records/event_gate.h"

// The attach step: records the module, checks the host, computes the settings path.
// False refuses the load.
bool AttachModule(HMODULE module);

void RaiseEvent(PluginEvent event);

// True from set-up until teardown; at other times events and commands do nothing.
bool PluginSetUp();

// FreeLibrary of the module: every window and class that is left goes now, so that
// no window procedure of the unloaded module can run.
void ReleaseModule();

// For test programs that link the plug-in's code and play several lives in one
// process: back to a plug-in just loaded, or just set up with the record as it is.
void ResetLifecycle(bool setUp);
