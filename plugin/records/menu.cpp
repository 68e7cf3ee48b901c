#include "plugin/records/menu.h"

menu_entry_t g_menu[kMenuEntryCount] = {
    {1, 1, "有効(&T)", "", "HintToggleEnable"},
    {1, 0, "設定", "", "HintOption"},
    {1, 0, "バージョン(&A)", "", "HintVersion"},
};

void SetToggleMenuChecked(bool checked) { g_menu[0].checked = checked ? 1 : 0; }
