#pragma once
// Finding windows of this thread, or below one window, by whatever a test looks for.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using WindowMatch = std::function<bool(HWND)>;

// Top-level windows of this thread that match, in the system's order (newest first).
std::vector<HWND> ThreadWindows(const WindowMatch& match);
// Every window below parent (children of children too) that matches; none for a null parent.
std::vector<HWND> ChildWindows(HWND parent, const WindowMatch& match);
// The first window below parent with this text, or null.
HWND ChildWithText(HWND parent, const std::string& text);

std::string ClassName(HWND hwnd);
std::string WindowText(HWND hwnd);
