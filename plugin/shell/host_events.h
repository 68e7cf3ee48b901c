#pragma once
#include "plugin/records/event_gate.h"

// The mode, list and quick-option events and the toggle command, once their turn has come.
void RunHostEvent(PluginEvent event);
