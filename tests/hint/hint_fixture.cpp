#include "tests/hint/hint_fixture.h"

SIZE HintTextExtent(const char* text, UINT dpi)
{
    WindowDc dc(nullptr);
    GdiObject<HFONT> font = MakeHintFont(HintSettings, dpi);
    Selection selected(dc.Get(), font.Get());
    SIZE extent = {};
    GetTextExtentPoint32A(dc.Get(), text, static_cast<int>(strlen(text)), &extent);
    return extent;
}

bool RectInside(const RECT& in, const RECT& out)
{
    return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom;
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

void HintOverlay::SetUp()
{
    g_hModule = GetModuleHandleA(nullptr);
    Restart();
    UseDefaultSettings();
    FreshSession(Life::SetUp);
}

void HintOverlay::TearDown()
{
    DestroyHintWndMgr();
    for (HWND hwnd : m_targets) DestroyWindow(hwnd);
    PumpPending();
}

HintWnd* HintOverlay::Hint(HWND target) const
{
    if (g_hintWndMgr)
        for (HintWnd* hint : g_hintWndMgr->List())
            if (hint->m_target == target) return hint;
    return nullptr;
}

std::vector<HWND> HintOverlay::Order() const
{
    std::vector<HWND> order;
    for (HintWnd* hint : g_hintWndMgr->List()) order.push_back(hint->m_target);
    return order;
}

RECT HintOverlay::WorkArea() const
{
    RECT r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void HintOverlay::ExpectHintsInsideAndApart(const std::string& name) const
{
    ASSERT_NE(nullptr, g_hintWndMgr) << name;
    std::vector<RECT> popups;
    for (const HintWnd* hint : g_hintWndMgr->List()) {
        RECT r = WindowRect(hint->m_hwnd), work = WorkAreaOf(hint->m_target);
        EXPECT_TRUE(IsWindowVisible(hint->m_hwnd)) << name;
        EXPECT_TRUE(RectInside(r, work)) << name << ": popup " << RectText(r) << " outside the work area "
                                         << RectText(work);
        for (size_t j = 0; j < popups.size(); ++j)
            EXPECT_FALSE(std::max(r.left, popups[j].left) <= std::min(r.right, popups[j].right) &&
                         std::max(r.top, popups[j].top) <= std::min(r.bottom, popups[j].bottom))
                << name << ": popups " << j << " and " << popups.size() << " meet";
        popups.push_back(r);
    }
}
