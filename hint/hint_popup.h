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
constexpr UINT kHintMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
