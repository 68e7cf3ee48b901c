#pragma once
// The module-wide variables of the shared records, each with why it stays module-wide.
// A file that uses one includes this header; the headers of their types do not, so that
// a type can be used without the state.
#include <windows.h>

#include <string>

#include "plugin/records/zlvn_interface.h"  // menu_entry_t, kMenuEntryCount

struct hint_settings_t;
class ZlvnAPI;

// The settings record by its published name, which the file, the dialog and the hints
// share; all zero until the host sets the plug-in up.
extern hint_settings_t HintSettings;
// The host's functions: bound during static initialisation, before the attach step,
// which must already refuse a host that lacks them.
extern ZlvnAPI g_zlvnAPI;
// The plug-in's module, fixed by the attach step: its classes, resources and folder.
extern HMODULE g_hModule;
// The settings file's full path, fixed by the attach step, through which it is read and
// written; empty when the module's own name could not be had whole (then no file is read
// or written).
extern std::wstring g_settingsFile;
// The same path in the ANSI code page, for failure records and log lines.
constexpr int kSettingsPathSize = 262;
extern char g_settingsPath[kSettingsPathSize];
// The menu block the host copies at every request; its check mark follows HintSettings.Enable.
extern menu_entry_t g_menu[kMenuEntryCount];
