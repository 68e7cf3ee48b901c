#pragma once
// Module-wide facts fixed when the host loads the plug-in.
#include <windows.h>

constexpr char kPluginName[] = "Hint";
constexpr char kHostVersionLower[] = "0.9.6.33";
constexpr char kHostVersionUpper[] = "1.0.0.0";

extern HMODULE g_hModule;
extern char g_settingsPath[262];

// The attach step: records the module, checks the host, computes the settings path.
// False refuses the load.
bool AttachModule(HMODULE module);

// The module's full path cut at its last '.' (anywhere in the path) plus ".ini".
void MakeSettingsPath(const char* i_modulePath, char (&o_path)[262]);
