#pragma once
// The hint font: made from the settings for a device context, for one paint or measure.
#include <windows.h>

#include "support/gdi_owner.h"

GdiObject<HFONT> MakeHintFont(HDC dc);
