#pragma once
// What the desktop window manager knows of a window that the window rectangle does
// not tell: whether it is cloaked (on another virtual desktop, a suspended app) and
// where its visible frame lies. dwmapi.dll is loaded at first need, never linked, so
// the plug-in loads where it is missing; every failure answers as "no composition".
#include <windows.h>

#include "support/seam.h"

using dwm_get_window_attribute_t = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// The attribute reader in use: dwmapi's DwmGetWindowAttribute, or null where the
// module or the function is missing; tests stand in through the seam.
Seam<dwm_get_window_attribute_t>& DwmGetWindowAttributeFn();

// True only when the manager says so; a failed call counts as not cloaked.
bool IsCloaked(HWND window);

// The extended frame bounds (screen pixels, without the invisible resize borders);
// false when the manager gives no answer.
bool ExtendedFrameBounds(HWND window, RECT* o_frame);
