#include "plugin/records/menu.h"
#include "plugin/records/globals.h"

menu_entry_t g_menu[kMenuEntryCount] = {
#define ZLVN_MENU_ITEM(name, result, params, bytes, kind, event, modal, caption) \
    ZLVN_IF_MENU(kind, {1, ZlvnEntryKind::kind == ZlvnEntryKind::CheckedCommand, caption, "", #name},)
    ZLVN_PLUGIN_EXPORTS(ZLVN_MENU_ITEM)
#undef ZLVN_MENU_ITEM
};

void SetToggleMenuChecked(bool checked) { g_menu[0].checked = checked ? 1 : 0; }
