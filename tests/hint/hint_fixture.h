#pragma once
// Real windows of the test process as the host's listed windows, the plug-in's
// overlay linked in, and the screen read back pixel by pixel.
#include "tests/common/wine_test.h"

#include "hint/hint_font.h"
#include "hint/hint_popup.h"
#include "hint/hint_set.h"  // the set, its hints and their popups

#include "tests/common/default_settings.h"
#include "tests/common/plugin_windows.h"
#include "tests/common/screen.h"
#include "tests/common/target_window.h"
#include "tests/common/thread_window.h"
#include "tests/common/window_search.h"

// The extent of a text on the screen in the hint font, as the product makes it.
SIZE HintTextExtent(const char* text, UINT dpi = kHintDesignDpi);
bool RectInside(const RECT& inner, const RECT& outer);
std::string RectText(const RECT& r);  // "left,top - right,bottom"

// Each test starts with default settings, an empty host, no hint set and no quick options seen, and ends
// with the set torn down and every target destroyed.
class HintOverlay : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Restart() { DestroyHintWndMgr(), zlvnhost::ResetHost(); }  // the set torn down, the host emptied
    HWND Target(const RECT& rect, const char* title = "target", HICON smallIcon = nullptr, HWND owner = nullptr,
                DWORD exStyle = 0)
    {
        m_targets.push_back(MakeTarget(rect, title, smallIcon, owner, exStyle));
        return m_targets.back();
    }
    // A target, listed by the host with its title as the item text.
    HWND Listed(const RECT& rect, const char* title, HICON smallIcon = nullptr)
    {
        HWND target = Target(rect, title, smallIcon);
        AddListItem(target, title);
        return target;
    }
    HintWnd* Hint(HWND target) const;
    // Screen rectangle of the target's hint popup.
    RECT PopupRect(HWND target) const { return Hint(target) ? WindowRect(Hint(target)->m_hwnd) : RECT{}; }
    std::vector<HWND> Order() const;  // the hints' targets in the set's order
    RECT WorkArea() const;
    // Every hint's popup is visible, wholly inside the work area of its target's
    // monitor, and meets no other popup (touching edges meet).
    void ExpectHintsInsideAndApart(const std::string& name) const;

    std::vector<HWND> m_targets;
};
