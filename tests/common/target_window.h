#pragma once
// Target windows: plain top-level windows of this process that a test lists as the
// host's windows.
#include <windows.h>

// A top-level application window of this process, visible, at the given rectangle.
HWND MakeTarget(const RECT& rect, const char* title = "target", HICON smallIcon = nullptr, HWND owner = nullptr,
                DWORD exStyle = 0);
