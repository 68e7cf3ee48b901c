#pragma once
// The plug-in's menu block: the command rows of the entry points, in their order.
#include "plugin/records/zlvn_interface.h"

// The toggle entry's check mark mirrors HintSettings.Enable.
void SetToggleMenuChecked(bool checked);
