// The host's mode and list events and the toggle command.
#include "plugin/host_events.h"

#include "plugin/exports.h"

unsigned char g_savedQuickOption[8];

extern "C" void __stdcall Zlvn_OnActive() {}
extern "C" void __stdcall Zlvn_OnInactive() {}
extern "C" void __stdcall Zlvn_OnWindowActive(void*) {}
extern "C" void __stdcall Zlvn_OnUpdateList() {}
extern "C" void __stdcall Zlvn_OnChangeQuickOption() {}
extern "C" void __stdcall HintToggleEnable(void*) {}
