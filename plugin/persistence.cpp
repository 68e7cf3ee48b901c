// Set-up and teardown of the plug-in.
#include "plugin/exports.h"
#include "plugin/hint_settings.h"
#include "plugin/host_api.h"
#include "plugin/host_events.h"
#include "plugin/menu.h"

extern "C" int __stdcall Zlvn_OnSetup(void*)
{
    SetToggleMenuChecked(HintSettings.Enable != 0);
    g_zlvnAPI.GetQuickOption(g_savedQuickOption);
    return 0;
}

extern "C" int __stdcall Zlvn_OnTeardown()
{
    return 0;
}
