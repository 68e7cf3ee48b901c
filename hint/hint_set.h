#pragma once
// The set of hints as the rest of the plug-in sees it.
#include "hint/hint_wnd_mgr.h"  // HintWndMgr and g_hintShown

extern HintWndMgr* g_hintWndMgr;  // made by the first ShowHints, destroyed at teardown

// Makes or refreshes the set from the host's list, then shows every hint.
void ShowHints();
// Hides the hints; nothing while they are not shown.
void HideHints();
// Teardown: destroys the set with every popup window; g_hintWndMgr becomes null.
void DestroyHintWndMgr();
