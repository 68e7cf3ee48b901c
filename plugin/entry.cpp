// The attach step, the plug-in's name and its menu description.
#include <cstring>

#include "plugin/exports.h"
#include "plugin/hint_settings.h"
#include "plugin/host_api.h"
#include "plugin/menu.h"
#include "plugin/module_state.h"
#include "support/bounded_text.h"

HMODULE g_hModule;
char g_settingsPath[262];

menu_entry_t g_menu[kMenuEntryCount] = {
    {1, 1, "有効(&T)", "", "HintToggleEnable"},
    {1, 0, "設定", "", "HintOption"},
    {1, 0, "バージョン(&A)", "", "HintVersion"},
};

void SetToggleMenuChecked(bool checked) { g_menu[0].checked = checked ? 1 : 0; }

void MakeSettingsPath(const char* i_modulePath, char (&o_path)[262])
{
    char base[MAX_PATH];
    CopyText(base, i_modulePath);
    if (char* dot = strrchr(base, '.')) *dot = '\0';
    FormatText(o_path, sizeof o_path, "%s.ini", base);
}

bool AttachModule(HMODULE module)
{
    g_hModule = module;
    if (g_zlvnAPI.HostModule() == nullptr) return false;
    if (!g_zlvnAPI.CheckVersion(kHostVersionLower, kHostVersionUpper)) {
        g_zlvnAPI.ReportVersionMismatch(kPluginName, kHostVersionLower, kHostVersionUpper);
        g_zlvnAPI.ReportMissingFunctions(kPluginName);
        return false;
    }
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(module, modulePath, MAX_PATH);
    modulePath[MAX_PATH - 1] = '\0';
    MakeSettingsPath(modulePath, g_settingsPath);
    return true;
}

extern "C" void __stdcall Zlvn_OnGetPluginInfo(char* o_info)
{
    if (o_info == nullptr) return;
    memset(o_info, 0, 80);
    CopyText(o_info, 80, kPluginName);
}

extern "C" void __stdcall Zlvn_OnSetupSubMenu(int* o_count, void* o_items)
{
    if (o_count) *o_count = kMenuEntryCount;
    if (o_items == nullptr) return;
    // Zero-filled to its end, whatever a longer shortcut left there before.
    memset(g_menu[0].shortcut, 0, sizeof g_menu[0].shortcut);
    CopyText(g_menu[0].shortcut, HintSettings.ToggleEnable);
    memcpy(o_items, g_menu, kMenuBlockSize);
}
