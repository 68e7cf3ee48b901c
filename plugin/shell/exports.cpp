// Every function the host calls. Those that change state raise an event, which the
// lifecycle runs in turn; the plug-in's name and menu are answered at once. Each body
// runs inside the exception boundary: whatever fails, the host gets the constant result.
#include "plugin/shell/exports.h"

#include <cstring>

#include "plugin/records/globals.h"
#include "plugin/records/guard.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/interface_sizes.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/forms.h"
#include "plugin/shell/lifecycle.h"
#include "support/bounded_text.h"

TOKBottomDlg* g_okBottomDlg;
TAboutBox* g_aboutBox;

namespace {

template <typename Result>
Result Raise(const char* i_entry, PluginEvent event)
{
    Guarded(i_entry, [event] { RaiseEvent(event); });
    return Result();
}

}  // namespace

extern "C" void __stdcall Zlvn_OnGetPluginInfo(char* o_info)
{
    Guarded(__func__, [o_info] {
        if (o_info == nullptr) return;
        memset(o_info, 0, kPluginInfoSize);
        CopyText(o_info, kPluginInfoSize, kPluginName);
    });
}

extern "C" void __stdcall Zlvn_OnSetupSubMenu(int* o_count, void* o_items)
{
    Guarded(__func__, [o_count, o_items] {
        if (o_count) *o_count = kMenuEntryCount;
        if (o_items == nullptr) return;
        // Zero-filled to its end, whatever a longer shortcut left there before.
        memset(g_menu[0].shortcut, 0, sizeof g_menu[0].shortcut);
        CopyText(g_menu[0].shortcut, HintSettings.ToggleEnable);
        memcpy(o_items, g_menu, kMenuBlockSize);
    });
}

// Every entry point that raises an event: set-up, teardown (drops the hints and writes the
// settings; a dialog still open closes as Cancel would), the host's events and the commands.
#define ZLVN_RAISING_EXPORT(name, result, params, bytes, kind, raised, modal, caption) \
    ZLVN_IF_RAISES(kind, extern "C" result __stdcall name params { return Raise<result>(#name, PluginEvent::raised); })
ZLVN_PLUGIN_EXPORTS(ZLVN_RAISING_EXPORT)
#undef ZLVN_RAISING_EXPORT
