#pragma once
// The plug-in's menu block: the three commands the host shows.
#include "plugin/records/zlvn_interface.h"

extern menu_entry_t g_menu[kMenuEntryCount];

// The toggle entry's check mark mirrors HintSettings.Enable.
void SetToggleMenuChecked(bool checked);
