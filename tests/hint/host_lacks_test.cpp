// A host without the list, focus, quick-option, window-handle and menu functions:
// nothing of them is called, a missing list reads as empty.

#include "plugin/records/host_api.h"
#include "tests/hint/hint_fixture.h"

TEST_F(HintOverlay, HostWithoutListFocusOptionsHandlesOrMenuFunctions)
{
    for (ZlvnFn fn : {ZlvnFn::GetList, ZlvnFn::RegisterFocus, ZlvnFn::UnregisterFocus, ZlvnFn::GetQuickOption,
                      ZlvnFn::GetWindowHandles, ZlvnFn::ReloadMenu})
        ASSERT_FALSE(g_zlvnAPI.IsBound(fn)) << HostFunctionName(fn) << " should be missing in this host";
    Listed(RECT{100, 100, 300, 200}, "Alpha");

    Zlvn_OnActive();
    ASSERT_NE(nullptr, g_hintWndMgr);
    EXPECT_EQ(0u, g_hintWndMgr->Count()) << "a missing list reads as empty";
    EXPECT_EQ(1, g_hintShown);

    memset(g_session.quickOption, 7, sizeof g_session.quickOption);
    Zlvn_OnChangeQuickOption();
    EXPECT_EQ(7, g_session.quickOption[3]) << "nothing read, nothing changed";

    for (int enable : {0, 1}) {
        HintToggleEnable(nullptr);
        EXPECT_EQ(enable, HintSettings.Enable);
        EXPECT_EQ(enable, g_menu[0].checked);
    }
    EXPECT_EQ("", HostCallList()) << "no missing function called";
}
