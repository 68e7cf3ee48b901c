#pragma once
// The icon of the program a window belongs to, taken from its executable file, for
// windows that answer no icon of their own (Store apps, some WinUI windows).
#include <windows.h>

#include "hint/icon_cache.h"
#include "support/seam.h"

// The icon of the window's executable at size x size pixels: for a Store app's frame
// window, of the app it hosts. Null when the file has none or the process cannot be
// read. Kept in the cache per executable path and size.
HICON AppIconOf(HWND window, int size, IconCache& cache);

// A Store app's frame window belongs to the frame host; the app's own program runs the
// core window it holds (not there while the app is suspended: the frame window then).
HWND ProgramWindow(HWND window);

// IsWow64Process, looked up at first need; null where missing. Tests stand in through the seam.
using is_wow64_process_t = BOOL(WINAPI*)(HANDLE, BOOL*);
Seam<is_wow64_process_t>& IsWow64ProcessFn();
