#pragma once
// The host window's log list: every line the host says and every line the plug-in logs,
// also those from before the window was made (loading, set-up), in the order they came.
#include <windows.h>

#include <string>

// Keeps a UTF-8 line, and shows it in the list when there is one.
void AddLogViewLine(const std::string& i_utf8);
// Makes the list as a child filling parent, holding every line kept so far; null when it
// could not be made.
HWND MakeLogView(HWND parent);
// The list is gone with its window: lines are only kept again.
void ForgetLogView();
