#pragma once
// The overlay's module-wide variables. Everything else of the overlay lives in the set
// of hints: its hints, the settings, pictures, program icons and Store logos they draw
// with, and the window a click brought forward; teardown frees it all with the set.

class HintWndMgr;

// The one set of hints, by its published name: the host's calls carry no context, so the
// set made by one showing is found by the next; made by the first ShowHints, destroyed at teardown.
extern HintWndMgr* g_hintWndMgr;
// 1 while the hints are shown (ShowAll sets it, HideAll clears it), by its published name:
// the shell follows the host's list only while they are.
extern unsigned char g_hintShown;

// Kept in one file each, with internal linkage (function-local statics), as seams for tests
// (support/seam.h): the system functions are looked up once, not at every icon search.
//   hint/store_logo.cpp  StoreLogoFunctions(): the shell's property-store, app-ID and
//                        known-folder functions.
//   hint/app_icon.cpp    IsWow64ProcessFn(): IsWow64Process.
