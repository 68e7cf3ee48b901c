// The host's mode and list events and the toggle command.
#include "plugin/shell/host_events.h"

#include "hint/globals.h"
#include "hint/hint_set.h"
#include "plugin/records/globals.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/globals.h"

namespace {

// Of the host's quick options only this byte concerns the hints.
constexpr int kQuickOptionHintByte = 3;

void ShowIfEnabled()
{
    if (HintSettings.Enable) ShowHints();
}

void ChangeQuickOption()
{
    unsigned char fresh[kQuickOptionSize] = {};
    g_zlvnAPI.GetQuickOption(fresh);
    const unsigned char saved = g_session.quickOption[kQuickOptionHintByte];
    if (HintSettings.Enable && fresh[kQuickOptionHintByte] != saved) ShowHints();
    g_zlvnAPI.GetQuickOption(g_session.quickOption);
}

void ToggleEnable()
{
    if (HintSettings.Enable) {
        HideHints();
    } else {
        ShowHints();
        HWND first = nullptr;
        HWND second = nullptr;
        if (g_zlvnAPI.GetWindowHandles(&first, &second) && first) BringListedWindowToFront(first);
    }
    HintSettings.Enable = HintSettings.Enable ? 0 : 1;
    SetToggleMenuChecked(HintSettings.Enable != 0);
    g_zlvnAPI.ReloadMenu(kPluginName);
}

}  // namespace

void RunHostEvent(PluginEvent event)
{
    switch (event) {
    case PluginEvent::Active: ShowIfEnabled(); break;
    case PluginEvent::Hide: HideHints(); break;
    case PluginEvent::UpdateList:
        // Only a set on the screen follows the list; hidden hints catch up when shown.
        if (g_hintShown) ShowIfEnabled();
        break;
    case PluginEvent::QuickOption: ChangeQuickOption(); break;
    case PluginEvent::Toggle: ToggleEnable(); break;
    default: break;
    }
}
