#pragma once
// Module-wide facts fixed when the host loads the plug-in.
#include <windows.h>

#include <string>

#include "plugin/records/version_rule.h"

constexpr char kPluginName[] = "Hint";

// The module's full path cut at its last '.' (anywhere in the path) plus ".ini".
std::wstring MakeSettingsPath(const std::wstring& i_modulePath);

// Both forms of the settings path from its wide one.
void UseSettingsPath(const std::wstring& i_path);

// The module's full name, which may be longer than MAX_PATH and hold any characters;
// empty when it came cut even in the longest buffer.
std::wstring ModuleFileName(HMODULE module);
// That name cut at its last '\', the separator removed; empty when there is none.
std::wstring ModuleDirectory(HMODULE module);

// The settings path from the module's full name, which may be longer than MAX_PATH and
// hold any characters; false, with no path, when the name came cut.
bool FindSettingsPath(HMODULE module);
