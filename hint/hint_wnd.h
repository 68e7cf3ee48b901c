#pragma once
// One hint: a listed window (the target), the text and icon it shows, its place on
// the screen and its own popup window.
#include <windows.h>

#include <string>

#include "hint/hint_popup.h"
#include "hint/hint_rules.h"
#include "hint/icon_cache.h"

// The time one showing may spend waiting for the targets' answers to icon requests,
// shared by all its requests: a showing of many hung windows still ends within it.
class IconBudget {
public:
    static constexpr DWORD kShowingMs = 1000;
    static constexpr DWORD kRequestMs = 100;

    IconBudget() : m_start(GetTickCount()) {}
    // How long the next request may wait: a request's time, or less when the showing's
    // time is nearly spent; 0 when it is spent.
    DWORD NextWait() const;

private:
    DWORD m_start;
};

// The face (target, icon, display text) is what its popup shows of it.
class HintWnd : public hint_face_t {
public:
    // Makes the record and its hidden popup, 10 x 10 at the corner of the target's work
    // area; its icon is asked for within the showing's budget. set: the set it belongs to,
    // which outlives it.
    HintWnd(HWND target, const std::string& title, const IconBudget& icons, HintWndMgr& set);
    ~HintWnd();  // destroys the popup and unregisters its class; the icon is borrowed
    HintWnd(const HintWnd&) = delete;
    HintWnd& operator=(const HintWnd&) = delete;

    // New item text; size, place and display text follow at the next placement.
    void SetText(const std::string& title) { m_title = title; }

    // A popup that could not be made (no handles or memory left then) is made again.
    void RemakeMissingPopup();
    // A hint whose icon search an earlier showing's budget cut short asks again.
    void AskIconAgain(const IconBudget& icons);

    void Place();  // measure, place inside the work area, move the popup there
    void Show();   // place, show without activation, paint with the current text now
    void Hide();
    // After the no-overlap pass: the popup to the hint's final rectangle.
    void MoveToFinalRect();

    hint_box_t Box() const { return hint_box_t{m_top, m_left, m_width, m_height, m_dpi}; }
    void SetCorner(int left, int top)
    {
        m_left = left;
        m_top = top;
    }

    HWND m_hwnd = nullptr;
    char m_classname[32] = {};
    int m_top = 0;
    int m_left = 0;
    int m_width = 0;
    int m_height = 0;
    std::string m_title;
    RECT m_rect = {};
    // The work area the latest placement held the hint in; the no-overlap pass keeps it there.
    pixel_rect_t m_work = {};
    // The size and DPI the popup's window region was made for.
    pixel_size_t m_shape = {};
    UINT m_shapeDpi = 0;
    // The showing's icon time ran out before the search for this hint's icon ended.
    bool m_iconPending = false;

private:
    const hint_settings_t& Settings() const;
    void FindIcon(const IconBudget& icons);
    void MakePopup();
    void ApplyShape();  // the rounded window region, made anew when the size changed
    void DestroyPopup();
    void ShowPopup();  // without activation, painted with the current text now
    RECT TargetRect();
    SIZE MeasureText();
};

// The target's small icon, borrowed from its owner, its class or itself (the larger one
// of the same window where the small one is below size), else its Store app's logo
// (store_logo.h) or its program's (app_icon.h), read at size into the set's caches; null
// when none is found.
// Requests wait what the showing's budget gives them, 100 ms each at most and 300 ms in
// all; o_cut: one was shortened or left out because the showing's budget ran out.
HICON FindTargetIcon(HWND target, int size, const IconBudget& icons, hint_icon_caches_t& caches, bool* o_cut);

// Where a minimized window stands when restored, in screen coordinates.
RECT RestoredRect(HWND window);

// The window rectangle, less the invisible resize borders where the desktop reports
// its visible frame; false when the window is gone.
bool VisibleWindowRect(HWND window, RECT* o_rect);

// The work area of the monitor holding the window (the primary one when none does).
RECT WorkAreaOf(HWND window);
RECT WorkAreaOfMonitor(HMONITOR monitor);
