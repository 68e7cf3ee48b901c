// The attach step: the module recorded, the host checked, the settings path computed.
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/lifecycle.h"

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
