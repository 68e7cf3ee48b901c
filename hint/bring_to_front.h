#pragma once
// Foreground switching: what a click on a hint does to the hint's window.
#include <windows.h>

// Makes the window the foreground window, restoring it first when it is minimized.
void BringWindowToFront(HWND target);

// Raises a window that BringWindowToFront brought forward, when it is still the
// foreground window; the hint set calls it once the hints are hidden.
void RaiseIfStillInFront(HWND brought);
