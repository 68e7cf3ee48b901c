#pragma once
// Small rules of the two dialogs, kept away from any window.
#include <string>

#include "support/geometry.h"

// The font style as the settings dialog names it; underline and strike-out never show.
const char* StyleText(bool bold, bool italic);

// A whole text as a signed 32-bit integer: leading blanks, one sign, decimal or
// hexadecimal after "$" or "0x". False for anything else (empty, trailing
// characters, out of range); o_value is then untouched.
bool TextToInt(const char* i_text, int* o_value);

// Top-left corner that centres a box of the given outer size on a rectangle;
// each halving drops its remainder.
pixel_point_t CentreOn(const pixel_rect_t& area, int width, int height);

// The name a screen reader reads for a control named by a caption: the caption without
// its accelerator ("幅(&W)" gives "幅", "&Save" gives "Save", "&&" stays one "&"),
// after the prefix and a space when there is one.
std::wstring AccessibleName(const std::wstring& prefix, const std::wstring& caption);

// The page that a key with its modifiers switches a tabbed dialog to: Ctrl+Tab and
// Ctrl+PgDn the next, Ctrl+Shift+Tab and Ctrl+PgUp the one before, round from the last
// to the first and back. -1 when the key switches nothing (no Ctrl, Alt held, another
// key, fewer than two pages).
enum class page_key_t { Tab, PageDown, PageUp, Other };
int PageAfterKey(int current, int count, page_key_t key, bool ctrl, bool shift, bool alt);
