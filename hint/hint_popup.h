#pragma once
// The popup window of a hint: its class, its window procedure, and what a click does.
#include <windows.h>

// Registers a hint's own window class; 0 when it is already registered (the existing
// class has the same procedure and serves).
ATOM RegisterHintClass(HINSTANCE instance, const char* i_classname);

LRESULT CALLBACK HintWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The instance the hint classes belong to: the plug-in module.
HINSTANCE HintInstance();

constexpr DWORD kHintExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr DWORD kHintStyle = WS_POPUP;
// With HWND_TOPMOST: moved, shown and brought to the top of the topmost band, never activated.
constexpr UINT kHintMoveFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW;

// The rounded shape of a hint of width x height, as a region in client coordinates:
// the popup's window region, and the area its painting fills. The caller owns it.
HRGN MakeHintShape(int width, int height);
