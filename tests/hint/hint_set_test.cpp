// The hint set on real windows of this process: building, refreshing, placing,
// the no-overlap pass, teardown, and targets that hang or vanish.

#include <optional>

#include "hint/get_zlvn_list.h"
#include "support/geometry_win32.h"
#include "tests/hint/hint_fixture.h"

TEST_F(HintOverlay, EveryModeOnWindowsNearTheWorkAreaEdges)
{
    RECT work = WorkArea();
    RECT places[] = {
        {200, 150, 501, 351},                                                // well inside
        {work.right - 150, work.bottom - 80, work.right + 150, work.bottom + 120},  // past the bottom-right
        {work.left - 100, work.top - 60, work.left + 200, work.top + 100},   // past the top-left
    };
    for (int pos : {0, 1, 2, 3, 4, 9}) {
        for (const RECT& place : places) {
            Restart();
            HintSettings.Pos = pos;
            HWND target = Listed(place, "Seven");
            ShowHints();
            SIZE extent = HintTextExtent("S");
            pixel_size_t size{extent.cx + 28, extent.cy + 10};
            pixel_point_t at = KeepInWorkArea(HintPosition(pos, ToPixelRect(WindowRect(target)), size), size,
                                              ToPixelRect(work));
            RECT got = PopupRect(target);
            std::string name = "mode " + std::to_string(pos) + " target at " + RectText(place);
            EXPECT_EQ(RectText(RECT{at.x, at.y, at.x + size.cx, at.y + size.cy}), RectText(got)) << name;
            EXPECT_TRUE(RectInside(got, work)) << name << ": inside the work area";
            EXPECT_TRUE(IsWindowVisible(Hint(target)->m_hwnd)) << name;
        }
    }
}

TEST_F(HintOverlay, FixedAndFittedWidthWithAndWithoutIcon)
{
    HWND target = Listed(RECT{100, 100, 400, 300}, "Notebook");
    HintSettings.Contents = 1;
    SIZE extent = HintTextExtent("Notebook");
    int workWidth = WorkArea().right - WorkArea().left;
    // Below 0 fits the text; wider than the work area is cut to it.
    struct Case { int width; int icon; int expected; } cases[] = {
        {0, 1, extent.cx + 28}, {0, 0, extent.cx + 10}, {120, 1, 120}, {120, 0, 120},
        {-5, 1, extent.cx + 28}, {-5, 0, extent.cx + 10}, {100000, 1, workWidth}, {workWidth + 1, 0, workWidth},
    };
    for (const Case& c : cases) {
        HintSettings.Width = c.width;
        HintSettings.IsShowIcon = c.icon;
        ShowHints();
        RECT got = PopupRect(target);
        EXPECT_EQ(c.expected, got.right - got.left) << "Width " << c.width << " icon " << c.icon;
        EXPECT_EQ(extent.cy + 10, got.bottom - got.top) << "Width " << c.width << " icon " << c.icon;
        EXPECT_EQ(c.width, HintSettings.Width) << "the setting itself stays as the user set it";
        HideHints();
    }
}

TEST_F(HintOverlay, BuildMakesOneHintPerUnflaggedWindowInListOrder)
{
    HWND a = Target(RECT{100, 100, 300, 200}, "a");
    HWND b = Target(RECT{400, 100, 600, 200}, "b");
    HWND c = Target(RECT{700, 100, 900, 200}, "c");
    HWND flagged = Target(RECT{100, 400, 300, 500}, "flagged");
    AddListItem(c, "Charlie");
    AddListItem(flagged, "Flagged", 1);
    AddListItem(a, "Alpha");
    AddListItem(c, "Charlie again");  // the first record of a window wins
    AddListItem(b, "Bravo");
    ShowHints();

    ASSERT_NE(nullptr, g_hintWndMgr);
    EXPECT_EQ(1, g_hintShown);
    ASSERT_EQ(3u, g_hintWndMgr->Count()) << "one hint per unflagged window";
    EXPECT_EQ(nullptr, Hint(flagged)) << "a flagged record makes no hint";
    EXPECT_EQ((std::vector<HWND>{c, a, b}), Order()) << "one monitor: the host's list order";
    EXPECT_EQ("Charlie", Hint(c)->m_title) << "duplicate record";
    EXPECT_STREQ("C", Hint(c)->m_text);
    EXPECT_EQ(ClassOf(c), Hint(c)->m_classname);
    EXPECT_EQ(3, Host().registerCount) << "each popup announced to the host";
    for (HWND t : {a, b, c}) {
        HWND popup = Hint(t)->m_hwnd;
        EXPECT_EQ(kHintExStyle, static_cast<DWORD>(GetWindowLongA(popup, GWL_EXSTYLE)) & kHintExStyle);
        EXPECT_TRUE(IsWindowVisible(popup));
        EXPECT_NE(popup, GetForegroundWindow()) << "shown without activation";
    }
}

TEST_F(HintOverlay, RefreshKeepsPopupsPrunesClosedWindowsAndKeepsFlaggedOnes)
{
    HWND a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    HWND b = Listed(RECT{400, 100, 600, 200}, "Bravo");
    HWND c = Listed(RECT{700, 100, 900, 200}, "Charlie");
    ShowHints();
    HWND popupA = Hint(a)->m_hwnd, popupB = Hint(b)->m_hwnd, popupC = Hint(c)->m_hwnd;
    HideHints();

    // b closes; a is renamed; c stays listed but flagged; d is new.
    HWND d = Target(RECT{100, 400, 300, 500}, "d");
    Host().list.clear();
    AddListItem(a, "Apple");
    AddListItem(c, "Changed", 1);
    AddListItem(d, "Delta");
    ShowHints();

    ASSERT_EQ(3u, g_hintWndMgr->Count());
    EXPECT_EQ(std::make_pair(popupA, popupC), std::make_pair(Hint(a)->m_hwnd, Hint(c)->m_hwnd)) << "a and c keep theirs";
    EXPECT_EQ(nullptr, Hint(b)) << "b left the list";
    EXPECT_FALSE(IsWindow(popupB)) << "b's popup destroyed";
    EXPECT_FALSE(ClassRegistered(ClassOf(b))) << "b's class unregistered";
    EXPECT_TRUE(ClassRegistered(ClassOf(a)));
    EXPECT_EQ("Apple Charlie", Hint(a)->m_title + " " + Hint(c)->m_title) << "a flagged record's text is not taken";
    ASSERT_NE(nullptr, Hint(d)) << "new window";
    EXPECT_EQ(1, Host().unregisterCount);

    // The same handle value listed again after its hint was destroyed gets a class anew.
    Host().list.clear();
    AddListItem(b, "Bravo");
    ShowHints();
    ASSERT_NE(nullptr, Hint(b));
    EXPECT_TRUE(IsWindow(Hint(b)->m_hwnd));
    EXPECT_TRUE(ClassRegistered(ClassOf(b)));
    EXPECT_EQ(1u, g_hintWndMgr->Count()) << "everything else pruned";
}

TEST_F(HintOverlay, EmptyListShowsNothingAndDestroysEveryHintLater)
{
    ShowHints();
    ASSERT_NE(nullptr, g_hintWndMgr);
    EXPECT_EQ(0u, g_hintWndMgr->Count()) << "first showing, empty list";
    EXPECT_EQ(1, g_hintShown) << "shown even when empty";

    HWND a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    ShowHints();
    ASSERT_EQ(1u, g_hintWndMgr->Count());
    HWND popup = Hint(a)->m_hwnd;
    Host().list.clear();
    ShowHints();
    EXPECT_EQ(0u, g_hintWndMgr->Count()) << "later showing, empty list";
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(1, g_hintShown);
}

TEST_F(HintOverlay, HideKeepsPopupsAndHidesOnce)
{
    HideHints();
    EXPECT_EQ(nullptr, g_hintWndMgr) << "hiding before any showing makes nothing";
    HWND a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    ShowHints();
    HWND popup = Hint(a)->m_hwnd;
    HideHints();
    EXPECT_FALSE(IsWindowVisible(popup));
    EXPECT_TRUE(IsWindow(popup)) << "hidden hints keep their popups";
    EXPECT_EQ(0, g_hintShown);
    ShowWindow(popup, SW_SHOWNOACTIVATE);  // a second hide must not touch it
    HideHints();
    EXPECT_TRUE(IsWindowVisible(popup)) << "HideHints twice hides once";
    ShowWindow(popup, SW_HIDE);
}

TEST_F(HintOverlay, NoOverlapPassOnRealPopups)
{
    HWND first = Listed(RECT{200, 200, 500, 400}, "One");
    HWND second = Listed(RECT{200, 200, 600, 450}, "Two");

    ShowHints();
    RECT r1 = PopupRect(first), r2 = PopupRect(second);
    EXPECT_EQ(200, r2.top) << "pass on: the second stays";
    EXPECT_EQ(r2.bottom + 2, r1.top) << "pass on: the first moves below the second";
    EXPECT_EQ(r1.top, Hint(first)->m_top);
    HideHints();

    HintSettings.IsNoOver = 0;
    ShowHints();
    EXPECT_EQ(std::make_pair(200L, 200L), std::make_pair(PopupRect(first).top, PopupRect(second).top)) << "pass off: overlap";
    HideHints();

    // Mode 4: every hint starts at the work area's corner; the last stays there.
    HintSettings.IsNoOver = 1;
    HintSettings.Pos = 4;
    Listed(RECT{600, 300, 800, 500}, "Three");
    ShowHints();
    RECT work = WorkArea();
    std::vector<HWND> order = Order();
    ASSERT_EQ(3u, order.size());
    EXPECT_EQ(work.top, PopupRect(order[2]).top) << "mode 4: last in list at the corner";
    int row = Hint(order[2])->m_height + 2;
    EXPECT_EQ(work.top + row, PopupRect(order[0]).top) << "mode 4: first in list, second row";
    EXPECT_EQ(work.top + 2 * row, PopupRect(order[1]).top) << "mode 4: second in list, third row";
    for (HWND t : order) EXPECT_EQ(work.left, PopupRect(t).left) << "mode 4: left edges stay";
    // After the pass no two hints collide.
    for (HintWnd* a : g_hintWndMgr->List())
        for (HintWnd* b : g_hintWndMgr->List()) EXPECT_TRUE(a == b || !BoxesCollide(a->Box(), b->Box()));
    HideHints();

    // Windows at the bottom of the work area: pushed below it, the hints would leave the
    // screen; they stack upward from the bottom instead. A second column apart from them.
    Restart();
    HintSettings.Pos = 0;
    std::vector<HWND> bottom;
    for (int i = 0; i < 5; ++i) bottom.push_back(Listed(RECT{200, work.bottom - 10, 500, work.bottom + 100}, "Bottom"));
    for (int i = 0; i < 3; ++i) Listed(RECT{700 + 10 * i, work.bottom - 60 + 10 * i, 1000, work.bottom + 60}, "Beside");
    ShowHints();
    ExpectHintsInsideAndApart("eight windows at the bottom");
    int height = Hint(bottom[4])->m_height;
    EXPECT_EQ(work.bottom, PopupRect(bottom[4]).bottom) << "the last of one spot stays at the bottom";
    EXPECT_EQ(work.bottom - 2 * (height + 2) + 2, PopupRect(bottom[0]).top) << "the first stands on it";
}

TEST_F(HintOverlay, TeardownLeavesNoPopupAndNoClass)
{
    HWND a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    HWND b = Listed(RECT{400, 100, 600, 200}, "Bravo");
    ShowHints();
    HWND popups[] = {Hint(a)->m_hwnd, Hint(b)->m_hwnd};
    DestroyHintWndMgr();
    EXPECT_EQ(nullptr, g_hintWndMgr);
    for (HWND p : popups) EXPECT_FALSE(IsWindow(p)) << "popup left after teardown";
    for (HWND t : {a, b}) {
        EXPECT_FALSE(ClassRegistered(ClassOf(t))) << ClassOf(t) << " still registered";
        EXPECT_EQ(nullptr, FindWindowA(ClassOf(t).c_str(), nullptr)) << ClassOf(t);
    }
    EXPECT_TRUE(Host().focusWindows.empty()) << "every popup withdrawn from the host";
    EXPECT_EQ(2, Host().unregisterCount);
}

namespace {

// Refuses to make any window of a hint class ("tag" and a number).
LRESULT CALLBACK RefuseHintPopups(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(cs->lpszClass) && strncmp(cs->lpszClass, "tag", 3) == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(HintOverlay, PopupThatCannotBeMadeKeepsItsHintAndIsStillAnnounced)
{
    HWND a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseHintPopups, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    ShowHints();
    UnhookWindowsHookEx(hook);
    ASSERT_NE(nullptr, Hint(a)) << "the hint stays in the set";
    EXPECT_EQ(nullptr, Hint(a)->m_hwnd);
    EXPECT_EQ(std::make_pair(1, 1), std::make_pair(int(g_hintShown), Host().registerCount)) << "shown; announced with its null window";
    HideHints();
    DestroyHintWndMgr();
    EXPECT_EQ(1, Host().unregisterCount) << "and withdrawn when the hint goes";
    EXPECT_FALSE(ClassRegistered(ClassOf(a)));
}

TEST_F(HintOverlay, HungTargetDoesNotHoldUpTheShowing)
{
    ThreadWindow hung(ThreadWindowKind::Hung);
    ASSERT_NE(nullptr, hung.Window());
    AddListItem(hung.Window(), "Hung");
    HWND fine = Listed(RECT{600, 100, 800, 200}, "Fine");

    // The target stays hung until after the showing, so only the icon requests'
    // time-outs can let the showing return. How long they take is the benchmark's business.
    ShowHints();
    ASSERT_NE(nullptr, Hint(hung.Window()));
    EXPECT_EQ(nullptr, Hint(hung.Window())->m_icon) << "a window that does not answer has no icon";
    EXPECT_TRUE(IsWindowVisible(Hint(hung.Window())->m_hwnd));
    EXPECT_TRUE(IsWindowVisible(Hint(fine)->m_hwnd));

    DestroyHintWndMgr();
}

TEST_F(HintOverlay, TargetDestroyedBetweenListAndShowing)
{
    HWND gone = Listed(RECT{100, 100, 300, 200}, "Gone");
    HWND stays = Listed(RECT{400, 100, 600, 200}, "Stays");
    DestroyWindow(gone);
    ShowHints();
    ASSERT_NE(nullptr, Hint(gone)) << "the set follows the host's list";
    EXPECT_TRUE(IsWindowVisible(Hint(gone)->m_hwnd)) << "every listed window's hint is shown";
    EXPECT_TRUE(RectInside(PopupRect(gone), WorkAreaOf(stays))) << "a vanished window's hint stays inside the work area";
    EXPECT_TRUE(IsWindowVisible(Hint(stays)->m_hwnd));
    EXPECT_EQ(WindowRect(stays).left, PopupRect(stays).left) << "the other hint is placed as usual";

    // Gone after it was shown once: it keeps its last place; pruned when the list drops it.
    HideHints();
    RECT before = PopupRect(stays);
    DestroyWindow(stays);
    m_targets.clear();
    ShowHints();
    EXPECT_EQ(RectText(before), RectText(PopupRect(stays))) << "placed from the last rectangle seen";
    Host().list.clear();
    ShowHints();
    EXPECT_EQ(0u, g_hintWndMgr->Count());
}

TEST_F(HintOverlay, ItemTextsAtTheRecordsLimits)
{
    HWND a = Target(RECT{100, 100, 300, 200});
    ZlvnList record = {};
    record.hwnd = a;
    memset(record.text, 'A', sizeof record.text);  // 256 bytes, no terminator
    memset(record.unused, 'Z', sizeof record.unused);
    Host().list.push_back(record);
    HWND b = Listed(RECT{400, 100, 600, 200}, "\x83\x81\x83\x82\x92\xa0");  // メモ帳
    ShowHints();
    EXPECT_EQ(std::string(256, 'A'), Hint(a)->m_title) << "cut at the field's end";
    EXPECT_STREQ("\x83\x81", Hint(b)->m_text) << "Contents 0: the whole double-byte character";
    HintSettings.Contents = 1;
    ShowHints();
    EXPECT_EQ(std::string(256, 'A'), std::string(Hint(a)->m_text));
}

TEST_F(HintOverlay, IconFromWindowOwnerOrClassAndKeptOnceFound)
{
    HICON first = LoadIconA(nullptr, IDI_APPLICATION), second = LoadIconA(nullptr, IDI_WARNING);
    HWND app = Listed(RECT{100, 100, 300, 200}, "App", first);
    HWND tool = Target(RECT{400, 100, 600, 200}, "tool", nullptr, app, WS_EX_TOOLWINDOW);
    AddListItem(tool, "Tool");
    HWND bare = Listed(RECT{100, 400, 300, 500}, "Bare");
    ShowHints();
    EXPECT_EQ(first, Hint(app)->m_icon) << "the window's own small icon";
    EXPECT_EQ(first, Hint(tool)->m_icon) << "an owned window shows its owner's icon";
    EXPECT_EQ(nullptr, Hint(bare)->m_icon) << "no icon anywhere";

    SendMessageA(app, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(second));
    ShowHints();
    EXPECT_EQ(first, Hint(app)->m_icon) << "the icon found first stays";
}

// Only a list that was read takes hints away: the host failing, or a count no buffer can be
// made for (2 GB, more than a 32-bit process has), keeps them.
TEST_F(HintOverlay, ListThatCannotBeReadKeepsTheHints)
{
    const struct { const char* name; std::optional<int> count, read; } cases[] = {
        {"the counting call fails", -1, {}},
        {"no buffer for the count", INT_MAX / int(sizeof(ZlvnList)) - GetZlvnList::kExtraRecords, {}},
        {"the reading call fails", {}, -1},
    };
    HWND a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    ShowHints();
    HWND popup = Hint(a)->m_hwnd;
    for (const auto& c : cases) {
        Host().countAnswer = c.count;
        Host().readAnswer = c.read;
        ShowHints();
        EXPECT_TRUE(Hint(a) && Hint(a)->m_hwnd == popup && IsWindowVisible(popup)) << c.name << ": hint or popup lost";
    }
}

// Each showing takes the first windows of a long list up to the limit, and says so once.
TEST_F(HintOverlay, LongListMakesHintsForItsFirstWindowsOnly)
{
    const size_t limit = HintWndMgr::kMaxHints;
    auto handle = [](size_t i) { return reinterpret_cast<HWND>(0x7ff00020 + 2 * i); };  // a generation no window has
    for (size_t i = 0; i < limit + 88; ++i) AddListItem(handle(i), "Far");
    for (int showing = 1; showing <= 2; ++showing) {
        ShowHints();
        EXPECT_EQ(limit, g_hintWndMgr->Count()) << "showing " << showing;
        EXPECT_TRUE(Hint(handle(limit - 1)) && !Hint(handle(limit))) << "showing " << showing << ": not the first ones";
        EXPECT_EQ(showing, int(Host().log.size())) << "showing " << showing << ": " << HostLog();
    }
}
