// The attach step: the module recorded, the host checked, the settings path computed.
#include "plugin/records/globals.h"
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
    // A name that came cut is reported at set-up, where the settings would be read.
    FindSettingsPath(module);
    return true;
}
