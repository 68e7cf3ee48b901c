#pragma once
// The hint font: made from the settings at a DPI (its monitor's), for one paint or measure.
#include <windows.h>

#include "plugin/records/hint_settings.h"
#include "support/owners.h"

GdiObject<HFONT> MakeHintFont(const hint_settings_t& settings, UINT dpi);
