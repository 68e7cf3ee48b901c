#pragma once
// The set of hints as the rest of the plug-in sees it.
#include <windows.h>

#include "hint/globals.h"       // g_hintWndMgr and g_hintShown
#include "hint/hint_wnd_mgr.h"

// Makes or refreshes the set from the host's list, then shows every hint. The set is made
// with HintSettings, which it reads afresh at every showing and paint until teardown.
void ShowHints();
// Hides the hints (nothing while they are not shown), then raises the window a click
// brought forward.
void HideHints();
// Brings the window to the front as a click on its hint does, raised again once the
// hints are hidden (the toggle command, which shows them).
void BringListedWindowToFront(HWND window);
// The settings record changed other than through the set: it reads what it draws with afresh.
void HintSettingsChanged();
// Teardown: destroys the set with every popup window; g_hintWndMgr becomes null.
void DestroyHintWndMgr();
