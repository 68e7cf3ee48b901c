#include "tests/hint/hint_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hint/hint_set.h"
#include "hint/hint_wnd.h"
#include "host/zlvn_host.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/lifecycle.h"
#include "support/bounded_text.h"

SIZE TextExtentIn(HFONT (*makeFont)(HDC), const char* text)
{
    HDC dc = GetDC(nullptr);
    HFONT font = makeFont(dc);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return extent;
}

void HintOverlay::SetUp()
{
    g_hModule = GetModuleHandleA(nullptr);
    zlvnhost::ResetHost();
    UseDefaultSettings();
    ResetLifecycle(true);
    g_hintShown = 0;
}

void HintOverlay::TearDown()
{
    DestroyHintWndMgr();
    for (HWND hwnd : m_targets) DestroyWindow(hwnd);
    m_targets.clear();
    PumpPending();
}

HWND HintOverlay::Target(const RECT& rect, const char* title, HICON smallIcon)
{
    HWND hwnd = MakeTarget(rect, title, smallIcon);
    m_targets.push_back(hwnd);
    return hwnd;
}

HintWnd* HintOverlay::Hint(HWND target) const
{
    return g_hintWndMgr ? g_hintWndMgr->FindByTarget(target) : nullptr;
}

RECT HintOverlay::PopupRect(HWND target) const
{
    RECT r = {};
    if (HintWnd* hint = Hint(target)) GetWindowRect(hint->m_hwnd, &r);
    return r;
}

RECT HintOverlay::WorkArea() const
{
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void HintOverlay::ExpectHintsInsideAndApart(const std::string& name) const
{
    ASSERT_NE(nullptr, g_hintWndMgr) << name;
    std::vector<RECT> popups;
    for (const HintWnd* hint : g_hintWndMgr->List()) {
        RECT r = {};
        GetWindowRect(hint->m_hwnd, &r);
        RECT work = WorkAreaOf(hint->m_target);
        EXPECT_TRUE(IsWindowVisible(hint->m_hwnd)) << name;
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
            << name << ": popup " << r.left << "," << r.top << " - " << r.right << "," << r.bottom
            << " outside the work area " << work.left << "," << work.top << " - " << work.right << "," << work.bottom;
        popups.push_back(r);
    }
    for (size_t i = 0; i < popups.size(); ++i) {
        for (size_t j = i + 1; j < popups.size(); ++j) {
            const RECT& a = popups[i];
            const RECT& b = popups[j];
            bool meet = std::max(a.left, b.left) <= std::min(a.right, b.right) &&
                        std::max(a.top, b.top) <= std::min(a.bottom, b.bottom);
            EXPECT_FALSE(meet) << name << ": popups " << i << " and " << j << " meet";
        }
    }
}
