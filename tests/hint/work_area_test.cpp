// Hints kept inside a work area that task bars make smaller than the screen; run on a
// display of its own (run_on_own_display.sh) announcing the work area 0,30 - 1280,770,
// or two monitors with the work area on the first.

#include <tuple>
#include <utility>

#include "support/dpi_awareness.h"
#include "tests/common/stand_in.h"
#include "tests//common/import_patch.h"
#include "tests/hint/hint_fixture.h"

namespace {

constexpr RECT kWork = {0, 30, 1280, 770};

class TaskBars : public HintOverlay {
protected:
    void SetUp() override
    {
        HintOverlay::SetUp();
        ASSERT_EQ(RectText(kWork), RectText(WorkArea())) << "what the display should announce, and what Wine reports";
    }
    // `count` windows on one place; the popup of the last listed one.
    RECT Show(int pos, const RECT& place, int count = 1)
    {
        Restart();
        HintSettings.Pos = pos;
        HWND target = nullptr;
        for (int i = 0; i < count; ++i) target = Listed(place, "T");
        ShowHints();
        return PopupRect(target);
    }
};

}  // namespace

TEST_F(TaskBars, NewHintStartsAtTheWorkAreaCorner)
{
    HWND target = Listed(RECT{400, 300, 700, 500}, "T");
    g_hintWndMgr = new HintWndMgr(HintSettings);
    g_hintWndMgr->Build();
    HintWnd* hint = Hint(target);
    ASSERT_NE(nullptr, hint);
    EXPECT_EQ(std::make_tuple(kWork.top, kWork.left, 10, 10),
              std::make_tuple(hint->m_top, hint->m_left, hint->m_width, hint->m_height)) << "made, not yet placed";
}

TEST_F(TaskBars, EveryModeStaysOffTheBars)
{
    struct Case { const char* name; int pos; RECT place; int top, bottom, left, right; int count; } cases[] = {
        // -1: not checked. With several windows on one place: the last listed one's hint.
        {"mode 0 under the top bar", 0, {100, 0, 400, 200}, kWork.top, -1, 100, -1, 1},
        {"mode 1 under the top bar", 1, {100, 10, 400, 200}, kWork.top, -1, -1, -1, 1},
        {"mode 2 past the right edge", 2, {1100, 300, 1400, 500}, 300, -1, -1, kWork.right, 1},
        {"mode 3 over the bottom bar", 3, {100, 740, 400, 800}, -1, kWork.bottom, -1, -1, 1},
        {"mode 4 at the work area's corner", 4, {500, 300, 800, 500}, kWork.top, -1, kWork.left, -1, 1},
        {"unknown mode like mode 4", 12, {500, 300, 800, 500}, kWork.top, -1, kWork.left, -1, 1},
        {"mode 0 on the bottom bar", 0, {600, 760, 900, 900}, -1, kWork.bottom, 600, -1, 1},
        {"mode 0, five windows on the bottom bar", 0, {600, 760, 900, 900}, -1, kWork.bottom, 600, -1, 5},
        {"mode 3, four windows over the bottom bar", 3, {100, 740, 400, 800}, -1, kWork.bottom, -1, -1, 4},
    };
    for (const Case& c : cases) {
        RECT r = Show(c.pos, c.place, c.count);
        ExpectHintsInsideAndApart(c.name);
        const LONG want[] = {c.top, c.bottom, c.left, c.right}, got[] = {r.top, r.bottom, r.left, r.right};
        for (int edge = 0; edge < 4; ++edge)
            if (want[edge] >= 0) { EXPECT_EQ(want[edge], got[edge]) << c.name << ", edge (top, bottom, left, right) " << edge; }
        EXPECT_TRUE(r.top >= kWork.top && r.bottom <= kWork.bottom) << c.name << ": off the bars";
    }
}

namespace {

// GetWindowPlacement as Windows answers it: the restored rectangle in workspace
// coordinates (from the primary work area) unless the window is a tool window. Wine
// answers in screen coordinates.
decltype(&GetWindowPlacement) g_realPlacement;
UINT g_extraPlacementFlags;

BOOL WINAPI PlacementAsWindowsGivesIt(HWND window, WINDOWPLACEMENT* o_placement)
{
    if (!g_realPlacement(window, o_placement)) return FALSE;
    if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0)
        OffsetRect(&o_placement->rcNormalPosition, -kWork.left, -kWork.top);
    o_placement->flags |= g_extraPlacementFlags;
    return TRUE;
}

}  // namespace

TEST_F(TaskBars, WindowMinimizedBeforeItsFirstHintIsPlacedFromWhereItWasRestored)
{
    ImportPatch patch(GetModuleHandleA(nullptr), "user32.dll", "GetWindowPlacement",
                      reinterpret_cast<void*>(PlacementAsWindowsGivesIt));
    ASSERT_TRUE(patch.Patched());
    g_realPlacement = reinterpret_cast<decltype(&GetWindowPlacement)>(patch.Original());
    HintSettings.Pos = 0;
    struct Case { const char* name; DWORD exStyle; UINT flags; POINT corner; } cases[] = {
        {"workspace coordinates below the top bar", 0, 0, {400, 300}},
        {"tool window: screen coordinates", WS_EX_TOOLWINDOW, 0, {400, 300}},
        {"restores to maximized: its monitor's work area", 0, WPF_RESTORETOMAXIMIZED, {kWork.left, kWork.top}},
    };
    for (const Case& c : cases) {
        Restart();
        g_extraPlacementFlags = c.flags;
        HWND target = Target(RECT{400, 300, 700, 500}, "T", nullptr, nullptr, c.exStyle);
        ShowWindow(target, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(target)) << c.name;
        AddListItem(target, "T");
        ShowHints();
        EXPECT_EQ(std::make_pair(c.corner.x, c.corner.y), std::make_pair(PopupRect(target).left, PopupRect(target).top))
            << c.name;
    }
}

TEST_F(TaskBars, HintOnTheSecondMonitorStaysThere)
{
    if (GetSystemMetrics(SM_CMONITORS) != 2) GTEST_SKIP() << "one monitor on this display";
    MONITORINFO info = {sizeof info, {}, {}, 0};
    GetMonitorInfoA(MonitorFromPoint(POINT{1300, 10}, MONITOR_DEFAULTTONULL), &info);
    RECT second = info.rcWork;
    ASSERT_EQ(1280, second.left) << "second monitor's work area";
    RECT r = Show(2, RECT{second.right - 100, 100, second.right + 200, 300});
    EXPECT_EQ(second.right, r.right) << "mode 2 past the second monitor's right edge";
    r = Show(4, RECT{1500, 300, 1800, 500});
    EXPECT_EQ(std::make_pair(second.left, second.top), std::make_pair(r.left, r.top))
        << "mode 4 on the second monitor: its work area's corner";
    r = Show(3, RECT{1300, second.bottom - 20, 1600, second.bottom + 100});
    EXPECT_EQ(second.bottom, r.bottom) << "mode 3 over the second monitor's bottom";
    r = Show(0, RECT{1300, second.bottom - 10, 1600, second.bottom + 100}, 4);
    EXPECT_EQ(second.bottom, r.bottom) << "four windows at the second monitor's bottom: the last stays there";
    ExpectHintsInsideAndApart("four windows at the second monitor's bottom");
}

// Wine has one DPI for all monitors: here the second (from x 1280) is at 192.
HRESULT WINAPI SecondMonitorAt192(HMONITOR monitor, int, UINT* o_x, UINT* o_y)
{
    *o_x = *o_y = MonitorFromPoint(POINT{1280, 0}, MONITOR_DEFAULTTONULL) == monitor ? 192 : 96;
    return S_OK;
}

TEST_F(TaskBars, HintIsMeasuredAgainAtTheScaleOfTheMonitorItMovesTo)
{
    if (GetSystemMetrics(SM_CMONITORS) != 2) GTEST_SKIP() << "one monitor on this display";
    const dpi_functions_t real = StandIn(DpiFunctions(), &dpi_functions_t::dpiForMonitor, SecondMonitorAt192);
    HWND a = Listed(RECT{}, "W"), b = Listed(RECT{}, "W");  // Pos 0, no overlap, the icon shown: the defaults
    for (UINT dpi : {96u, 192u, 96u}) {
        for (HWND w : {a, b}) SetWindowPos(w, nullptr, dpi == 96 ? 100 : 1400, 100, 300, 200, SWP_NOZORDER);
        ShowHints();
        const SIZE text = HintTextExtent("W", dpi);
        const int margin = ScaledToDpi(5, dpi), gap = ScaledToDpi(2, dpi), icon = SystemMetricForDpi(SM_CXSMICON, dpi);
        const RECT ra = PopupRect(a), rb = PopupRect(b);
        EXPECT_EQ(std::make_tuple(text.cx + 2 * margin + icon + gap, text.cy + 2 * margin, gap),
                  std::make_tuple(rb.right - rb.left, rb.bottom - rb.top, ra.top - rb.bottom))
            << dpi << " dpi: width, height; the first pushed below the second, the gap apart";
    }
    DpiFunctions().Use(real);
}
