// The real ZlvnHint.dll, through its exports only: the events show and hide hint
// popups of the DLL's own classes, and teardown leaves none behind.

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
