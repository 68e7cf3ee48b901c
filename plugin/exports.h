#pragma once
// The functions the host calls, exported undecorated and __stdcall.
#include <windows.h>

extern "C" {
void __stdcall Zlvn_OnGetPluginInfo(char* o_info);
int __stdcall Zlvn_OnSetup(void* unused);
void __stdcall Zlvn_OnSetupSubMenu(int* o_count, void* o_items);
int __stdcall Zlvn_OnTeardown();
void __stdcall Zlvn_OnActive();
void __stdcall Zlvn_OnInactive();
void __stdcall Zlvn_OnWindowActive(void* unused);
void __stdcall Zlvn_OnUpdateList();
void __stdcall Zlvn_OnChangeQuickOption();
void __stdcall HintToggleEnable(void* unused);
void __stdcall HintOption(void* unused);
void __stdcall HintVersion(void* unused);
}
