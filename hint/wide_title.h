#pragma once
// The window's own title for a hint whose item text lost characters on its way through
// the host's ANSI code page (an emoji, Hangul, an accented letter outside it).
#include <windows.h>

#include <string>

// The text to draw with the wide text functions in place of the item text's display
// text, or empty when the item text stands: only when the title stands for the item
// text (title_rules.h), and there is memory for it. Nothing the host reads changes.
std::wstring WideDisplayTextOf(HWND target, const std::string& i_item, int contents) noexcept;
