#pragma once
// Module-wide facts fixed when the host loads the plug-in.
#include <windows.h>

#include "plugin/records/version_rule.h"

constexpr char kPluginName[] = "Hint";

extern HMODULE g_hModule;
extern char g_settingsPath[262];

// The module's full path cut at its last '.' (anywhere in the path) plus ".ini".
void MakeSettingsPath(const char* i_modulePath, char (&o_path)[262]);
