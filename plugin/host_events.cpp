// The host's mode and list events and the toggle command.
#include "plugin/host_events.h"

#include "hint/hint_popup.h"
#include "hint/hint_set.h"
#include "plugin/exports.h"
#include "plugin/hint_settings.h"
#include "plugin/host_api.h"
#include "plugin/menu.h"
#include "plugin/module_state.h"

unsigned char g_savedQuickOption[8];

namespace {

// Of the host's quick options only this byte concerns the hints.
constexpr int kQuickOptionHintByte = 3;

}  // namespace

extern "C" void __stdcall Zlvn_OnActive()
{
    if (HintSettings.Enable) ShowHints();
}

extern "C" void __stdcall Zlvn_OnInactive() { HideHints(); }

extern "C" void __stdcall Zlvn_OnWindowActive(void*) { HideHints(); }

extern "C" void __stdcall Zlvn_OnUpdateList()
{
    // Only a set on the screen follows the list; hidden hints catch up when shown.
    if (HintSettings.Enable && g_hintShown) ShowHints();
}

extern "C" void __stdcall Zlvn_OnChangeQuickOption()
{
    unsigned char fresh[8] = {};
    g_zlvnAPI.GetQuickOption(fresh);
    if (HintSettings.Enable && fresh[kQuickOptionHintByte] != g_savedQuickOption[kQuickOptionHintByte]) ShowHints();
    g_zlvnAPI.GetQuickOption(g_savedQuickOption);
}

extern "C" void __stdcall HintToggleEnable(void*)
{
    if (HintSettings.Enable) {
        HideHints();
    } else {
        ShowHints();
        HWND first = nullptr;
        HWND second = nullptr;
        if (g_zlvnAPI.GetWindowHandles(&first, &second) && first) BringWindowToFront(first);
    }
    HintSettings.Enable = HintSettings.Enable ? 0 : 1;
    SetToggleMenuChecked(HintSettings.Enable != 0);
    g_zlvnAPI.ReloadMenu(kPluginName);
}
