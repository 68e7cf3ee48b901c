#pragma once
// A few application windows of the host's own, so hints have something to stand on.
#include <windows.h>

#include <vector>

std::vector<HWND> MakeSampleWindows();
void DestroySampleWindows(std::vector<HWND>& windows);
