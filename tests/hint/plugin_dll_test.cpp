// The real ZlvnHint.dll, through its exports only: the events show and hide hint
// popups of the DLL's own classes, and teardown leaves none behind.

#include "tests/common/import_patch.h"
#include "tests/hint/hint_fixture.h"

TEST(PluginDllHints, EventsThroughTheExportsAndTeardown)
{
    zlvnhost::ResetHost();
    HWND target = MakeTarget(RECT{200, 200, 500, 400}, "target");
    zlvnhost::AddListItem(target, "Target");
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << "error " << dll.Error();
    dll.OnSetup();  // no settings file: the defaults, hints on

    dll.Call("Zlvn_OnActive");
    HWND popup = FindWindowA(ClassOf(target).c_str(), nullptr);
    ASSERT_NE(nullptr, popup) << "Zlvn_OnActive made no hint";
    EXPECT_TRUE(IsWindowVisible(popup)) << "after Zlvn_OnActive";
    EXPECT_EQ(1, zlvnhost::Host().registerCount);

    dll.Call("Zlvn_OnInactive");
    EXPECT_FALSE(IsWindowVisible(popup)) << "after Zlvn_OnInactive";

    dll.Command("HintToggleEnable");  // off
    menu_entry_t menu[kMenuEntryCount] = {};
    int count = 0;
    dll.OnSetupSubMenu(&count, menu);
    EXPECT_EQ(0, menu[0].checked) << "check byte after switching off";
    dll.Call("Zlvn_OnActive");
    EXPECT_FALSE(IsWindowVisible(popup)) << "switched off: activation shows nothing";
    dll.Command("HintToggleEnable");  // on: shown at once
    EXPECT_TRUE(IsWindowVisible(popup)) << "switched on";
    dll.OnSetupSubMenu(&count, menu);
    EXPECT_EQ(1, menu[0].checked) << "check byte after switching on";

    dll.OnTeardown();
    EXPECT_FALSE(IsWindow(popup)) << "popup left after teardown";
    EXPECT_FALSE(ClassRegistered(ClassOf(target), dll.Module())) << "class left after teardown";
    EXPECT_TRUE(zlvnhost::Host().focusWindows.empty());
    dll.Unload();
    DestroyWindow(target);
}

namespace {

DWORD g_fakeNow;            // the plug-in's clock
std::vector<HWND> g_asked;  // the windows asked for an icon, in order

DWORD WINAPI FakeTickCount() { return g_fakeNow; }

// A window that never answers: the whole wait passes, on the fake clock.
LRESULT WINAPI NoAnswer(HWND hwnd, UINT, WPARAM, LPARAM, UINT, UINT timeout, PDWORD_PTR)
{
    g_asked.push_back(hwnd);
    g_fakeNow += timeout;
    return 0;
}

}  // namespace

// However many windows do not answer, a showing waits a second at most for icons; the new
// hints it had no time for are asked at the next showing, the others never again.
TEST(PluginDllHints, IconRequestsWaitASecondAtMostPerShowing)
{
    zlvnhost::ResetHost();
    std::vector<HWND> targets;
    for (int i = 0; i < 12; ++i) targets.push_back(MakeTarget(RECT{40 * i, 100, 40 * i + 30, 200}, "silent"));
    for (HWND target : targets) zlvnhost::AddListItem(target, "Silent");
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << "error " << dll.Error();
    ImportPatch clock(dll.Module(), "KERNEL32.dll", "GetTickCount", reinterpret_cast<void*>(FakeTickCount));
    ImportPatch ask(dll.Module(), "USER32.dll", "SendMessageTimeoutA", reinterpret_cast<void*>(NoAnswer));
    dll.OnSetup();
    // One request a window of 100 ms (a search asks nothing more of a thread that left one
    // unanswered): ten windows a second.
    for (const std::vector<int>& asked : {std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11}, {}}) {
        std::vector<HWND> expected;
        for (int i : asked) expected.push_back(targets[i]);
        g_asked.clear();
        DWORD start = g_fakeNow;
        dll.Call("Zlvn_OnActive");
        EXPECT_EQ(expected, g_asked) << "showing that waited " << g_fakeNow - start << " ms";
        EXPECT_LE(g_fakeNow - start, 1000u);
        dll.Call("Zlvn_OnInactive");
    }
    dll.OnTeardown();
    for (HWND target : targets) DestroyWindow(target);
}
