#include "hint/hint_set.h"

#include "hint/bring_to_front.h"
#include "hint/globals.h"
#include "plugin/records/globals.h"
#include "plugin/records/hint_settings.h"
#include "support/dpi_awareness.h"

HintWndMgr* g_hintWndMgr;

// Each entry below makes, places or paints hints: per-monitor aware whatever the host's
// thread is, so the hints stand in physical pixels at their monitor's scale.

void ShowHints()
{
    PerMonitorDpiScope perMonitor;
    if (g_hintWndMgr == nullptr) {
        // Known before it is built: the popups look themselves up while they paint.
        g_hintWndMgr = new HintWndMgr(HintSettings);
        g_hintWndMgr->Build();
    } else {
        g_hintWndMgr->Refresh();
    }
    g_hintWndMgr->ShowAll();
}

void HideHints()
{
    PerMonitorDpiScope perMonitor;
    if (g_hintWndMgr == nullptr) return;
    g_hintWndMgr->HideAll();
    // Only now can a window manager under Wine be asked to raise it (bring_to_front.cpp).
    g_hintWndMgr->RaiseBroughtWindow();
}

void BringListedWindowToFront(HWND window)
{
    if (g_hintWndMgr) g_hintWndMgr->Bring(window);
    else BringWindowToFront(window);
}

void HintSettingsChanged()
{
    if (g_hintWndMgr) g_hintWndMgr->SettingsChanged();
}

void DestroyHintWndMgr()
{
    // Cleared first, so a popup that gets a message while the set goes finds no hint.
    HintWndMgr* set = g_hintWndMgr;
    g_hintWndMgr = nullptr;
    g_hintShown = 0;
    if (set) {
        // Only once a showing looked the DPI functions up: no module is loaded here
        // before a hint was ever made.
        PerMonitorDpiScope perMonitor;
        delete set;  // its hints, then the pictures and icons they drew with
    }
}
