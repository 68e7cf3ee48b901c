#pragma once
// The icon of the program a window belongs to, taken from its executable file, for
// windows that answer no icon of their own (Store apps, some WinUI windows).
#include <windows.h>

// The small icon of the window's executable: for a Store app's frame window, of the app
// it hosts. Null when the file has none or the process cannot be read. Kept per
// executable path until FreeAppIcons.
HICON AppIconOf(HWND window);

// Destroys every icon taken from a file; hints borrowing them must be gone first.
void FreeAppIcons();
