#pragma once
// The host's window list, as a window switcher sees the desktop.
#include <windows.h>

#include <vector>

#include "plugin/records/zlvn_interface.h"

// A window a switcher offers: visible, with a title, not a tool window, and either
// unowned or marked as an application window.
bool IsSwitchableWindow(HWND hwnd);

// The switchable top-level windows in z-order, without `except`.
std::vector<ZlvnList> ListAppWindows(HWND except);

// Same windows with the same texts in the same order.
bool SameList(const std::vector<ZlvnList>& a, const std::vector<ZlvnList>& b);
