#pragma once
// The hint font: made from the settings at a DPI (its monitor's), for one paint or measure.
#include <windows.h>

#include "support/owners.h"

GdiObject<HFONT> MakeHintFont(UINT dpi);
