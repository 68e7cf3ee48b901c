#pragma once
// Small rules of the two dialogs, kept away from any window.
#include "support/geometry.h"

// The font style as the settings dialog names it; underline and strike-out never show.
const char* StyleText(bool bold, bool italic);

// A whole text as a signed 32-bit integer: leading blanks, one sign, decimal or
// hexadecimal after "$" or "0x". False for anything else (empty, trailing
// characters, out of range); o_value is then untouched.
bool TextToInt(const char* i_text, int* o_value);
int TextToIntDef(const char* i_text, int fallback);

// Top-left corner that centres a box of the given outer size on a rectangle;
// each halving drops its remainder.
pixel_point_t CentreOn(const pixel_rect_t& area, int width, int height);
