// What a composited desktop adds to the overlay: topmost windows of other programs,
// cloaked windows and invisible resize borders (the desktop manager stood in for).

#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "support/dwm_window.h"
#include "tests/hint/hint_fixture.h"

namespace {

// Answers as a composited desktop would, for the windows it is told of.
struct desktop_answers_t { std::set<HWND> cloaked; std::map<HWND, RECT> frames; } g_desktop;

HRESULT WINAPI StandInAttribute(HWND window, DWORD attribute, PVOID o_value, DWORD size)
{
    if (attribute == 14 && size == sizeof(DWORD)) {  // DWMWA_CLOAKED
        *static_cast<DWORD*>(o_value) = g_desktop.cloaked.count(window) ? 2 : 0;
        return S_OK;
    }
    auto frame = g_desktop.frames.find(window);
    if (attribute != 9 || size != sizeof(RECT) || frame == g_desktop.frames.end()) return E_INVALIDARG;
    *static_cast<RECT*>(o_value) = frame->second;
    return S_OK;
}

class Desktop : public HintOverlay {
protected:
    void SetUp() override
    {
        HintOverlay::SetUp();
        g_desktop = desktop_answers_t();
        m_real = DwmGetWindowAttributeFn().Use(StandInAttribute);
    }
    void TearDown() override { DwmGetWindowAttributeFn().Use(m_real), HintOverlay::TearDown(); }
    dwm_get_window_attribute_t m_real = nullptr;
};

}  // namespace

TEST_F(Desktop, HintsStayAboveTopmostWindowsRaisedSinceWithoutTakingTheForeground)
{
    HWND a = Listed(RECT{100, 100, 400, 300}, "A");
    HWND b = Listed(RECT{500, 100, 800, 300}, "B");
    ShowHints();
    HideHints();
    // Another program's always-on-top window over both, raised after the hints were made.
    HWND cover = Target(RECT{0, 0, 1000, 400}, "cover", nullptr, nullptr, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    SetForegroundWindow(a);
    ASSERT_TRUE(PumpUntil([a] { return GetForegroundWindow() == a; }));
    for (const char* step : {"activation", "refresh while shown"}) {
        ShowHints();
        for (HWND target : {a, b}) {
            RECT r = PopupRect(target);
            EXPECT_EQ(Hint(target)->m_hwnd, WindowFromPoint(POINT{r.left + 2, r.top + 2})) << step;
        }
        EXPECT_EQ(a, GetForegroundWindow()) << step << ": the hints take no activation";
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

TEST_F(Desktop, CloakedWindowGetsNoHintUntilUncloaked)
{
    HintSettings.Pos = 0;
    HintSettings.IsNoOver = 1;
    RECT place = {100, 100, 400, 300};
    HWND a = Listed(place, "A");
    HWND b = Listed(place, "B");
    struct Step { const char* name; bool cloakA; bool aHasHint; bool aShown; } steps[] = {
        {"cloaked at the first showing", true, false, false},
        {"uncloaked", false, true, true},
        {"cloaked again", true, true, false},
    };
    for (const Step& s : steps) {
        g_desktop.cloaked = s.cloakA ? std::set<HWND>{a} : std::set<HWND>{};
        ShowHints();
        ASSERT_EQ(s.aHasHint, Hint(a) != nullptr) << s.name;
        if (Hint(a)) { EXPECT_EQ(s.aShown, IsWindowVisible(Hint(a)->m_hwnd) != FALSE) << s.name; }
        // The no-overlap pass moves one of the two only while A's hint is on the screen.
        RECT ra = PopupRect(a), rb = PopupRect(b), both;
        if (s.aShown) { EXPECT_FALSE(IntersectRect(&both, &ra, &rb)) << s.name; }
        else { EXPECT_EQ(place.top, rb.top) << s.name << ": B stays at its window's corner"; }
        HideHints();
    }
}

TEST_F(Desktop, PlacedFromTheVisibleFrameWhenTheDesktopReportsOneInside)
{
    HintSettings.Pos = 0;
    RECT window = {93, 100, 507, 407};  // 7-pixel invisible borders left, right and bottom
    HWND target = Listed(window, "T");
    enum Reader { kStandIn, kSystem, kNone };
    struct Case { const char* name; Reader reader; bool hasFrame; RECT frame; POINT corner; } cases[] = {
        {"frame inside the window", kStandIn, true, {100, 100, 500, 400}, {100, 100}},
        {"frame in physical pixels", kStandIn, true, {150, 150, 750, 600}, {93, 100}},
        {"no answer", kStandIn, false, {}, {93, 100}},
        {"the system's dwmapi (Wine: not implemented)", kSystem, false, {}, {93, 100}},
        {"no dwmapi", kNone, false, {}, {93, 100}},
    };
    for (const Case& c : cases) {
        g_desktop.frames.clear();
        if (c.hasFrame) g_desktop.frames[target] = c.frame;
        DwmGetWindowAttributeFn().Use(c.reader == kStandIn ? StandInAttribute : c.reader == kSystem ? m_real : nullptr);
        ShowHints();
        EXPECT_EQ(std::make_pair(c.corner.x, c.corner.y), std::make_pair(PopupRect(target).left, PopupRect(target).top))
            << c.name;
        HideHints();
    }
}

TEST_F(Desktop, PopupCloakedOnceShownIsMadeAgainOnTheCurrentDesktop)
{
    HWND target = Listed(RECT{100, 100, 400, 300}, "A");
    ShowHints();
    struct Case { const char* name; bool dwm, cloakPopup, cloakTarget, remade; } cases[] = {
        {"the popup cloaked (made on another desktop)", true, true, false, true},
        {"the target cloaked: its hint hidden, as before", true, false, true, false},
        {"no answer from the desktop manager", false, true, false, false},
    };
    for (const Case& c : cases) {
        HWND before = Hint(target)->m_hwnd;
        g_desktop.cloaked = {c.cloakPopup ? before : nullptr, c.cloakTarget ? target : nullptr};
        DwmGetWindowAttributeFn().Use(c.dwm ? StandInAttribute : nullptr);
        ShowHints();
        HWND after = Hint(target)->m_hwnd;
        EXPECT_EQ(std::make_tuple(c.remade, c.remade, !c.cloakTarget, std::vector<HWND>{after}),
                  std::make_tuple(after != before, !IsWindow(before), IsWindowVisible(after) != FALSE, Host().focusWindows))
            << c.name << ": made again, the old one destroyed, shown, the host knowing the current one only";
    }
}
