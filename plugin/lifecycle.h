#pragma once
// The plug-in's life as the host drives it: loaded, set up, torn down. Every entry
// point that changes state raises an event here; the event gate orders them.
#include "plugin/event_gate.h"

void RaiseEvent(PluginEvent event);

// True from teardown until a new set-up: events and commands then do nothing.
bool TornDown();

// FreeLibrary of the module: every window and class that is left goes now, so that
// no window procedure of the unloaded module can run.
void ReleaseModule();

// Back to a freshly loaded plug-in, for test programs that play several lives.
void ResetLifecycle();
