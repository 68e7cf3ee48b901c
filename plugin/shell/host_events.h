#pragma once
#include "plugin/records/event_gate.h"
#include "plugin/records/interface_sizes.h"

// The host's quick-option record as last read; only byte 3 is interpreted.
extern unsigned char g_savedQuickOption[kQuickOptionSize];

// The mode, list and quick-option events and the toggle command, once their turn has come.
void RunHostEvent(PluginEvent event);
