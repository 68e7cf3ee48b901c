#include "plugin/records/module_state.h"

#include <cstring>

#include "support/bounded_text.h"

HMODULE g_hModule;
char g_settingsPath[262];

void MakeSettingsPath(const char* i_modulePath, char (&o_path)[262])
{
    char base[MAX_PATH];
    CopyText(base, i_modulePath);
    if (char* dot = strrchr(base, '.')) *dot = '\0';
    FormatText(o_path, sizeof o_path, "%s.ini", base);
}
