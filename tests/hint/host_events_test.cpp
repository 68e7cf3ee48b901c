// The host's mode and list events and the toggle command, with the menu bytes the
// host reads back.

#include "tests/hint/hint_fixture.h"

namespace {

class HostEvents : public HintOverlay {
protected:
    void SetUp() override
    {
        HintOverlay::SetUp();
        SetToggleMenuChecked(true);
        m_a = Listed(RECT{100, 100, 300, 200}, "Alpha");
    }
    void TearDown() override { HintOverlay::TearDown(), SetToggleMenuChecked(true); }
    bool Shown() const { return g_hintWndMgr && g_hintShown && IsWindowVisible(Hint(m_a)->m_hwnd); }
    unsigned char MenuCheckByte() const
    {
        std::vector<unsigned char> block(kMenuBlockSize);
        int count = 0;
        Zlvn_OnSetupSubMenu(&count, block.data());
        return block[1];
    }
    HWND m_a = nullptr;
};

}  // namespace

TEST_F(HostEvents, ModeEventsShowOnlyWhenEnabledAndAlwaysHide)
{
    Zlvn_OnInactive();
    Zlvn_OnWindowActive(nullptr);
    EXPECT_EQ(nullptr, g_hintWndMgr) << "hiding before any showing makes nothing";

    HintSettings.Enable = 0;
    Zlvn_OnActive();
    EXPECT_EQ(nullptr, g_hintWndMgr) << "disabled: activation shows nothing";

    HintSettings.Enable = 1;
    Zlvn_OnActive();
    EXPECT_TRUE(Shown()) << "enabled: activation shows";
    Zlvn_OnWindowActive(nullptr);
    EXPECT_FALSE(Shown()) << "a window became active";
    Zlvn_OnActive();
    Zlvn_OnInactive();
    EXPECT_FALSE(Shown()) << "the mode ended";
    EXPECT_EQ(1u, g_hintWndMgr->Count());
}

TEST_F(HostEvents, ListUpdateRefreshesOnlyShownHints)
{
    HWND b = Target(RECT{400, 100, 600, 200}, "b");
    Zlvn_OnUpdateList();
    EXPECT_EQ(nullptr, g_hintWndMgr) << "nothing shown: the update shows nothing";

    Zlvn_OnActive();
    AddListItem(b, "Bravo");
    Zlvn_OnUpdateList();
    ASSERT_NE(nullptr, Hint(b)) << "shown: the update adds the new window's hint";
    EXPECT_TRUE(IsWindowVisible(Hint(b)->m_hwnd));

    Zlvn_OnInactive();
    Host().list.pop_back();
    Zlvn_OnUpdateList();
    EXPECT_NE(nullptr, Hint(b)) << "hidden: no refresh";
    EXPECT_FALSE(Shown());

    Zlvn_OnActive();
    EXPECT_EQ(nullptr, Hint(b)) << "the next showing follows the list";
    HintSettings.Enable = 0;
    Host().list.clear();
    Zlvn_OnUpdateList();
    EXPECT_EQ(1u, g_hintWndMgr->Count()) << "disabled: no refresh";
}

TEST_F(HostEvents, QuickOptionChangeShowsOnlyWhenByte3Changes)
{
    Host().quickOption[0] = 5;
    Host().quickOption[7] = 9;
    Zlvn_OnChangeQuickOption();
    EXPECT_EQ(nullptr, g_hintWndMgr) << "other bytes changed: nothing shown";
    EXPECT_EQ(0, memcmp(Host().quickOption, g_session.quickOption, sizeof g_session.quickOption))
        << "the saved record follows the host";

    Host().quickOption[3] = 1;
    Zlvn_OnChangeQuickOption();
    EXPECT_TRUE(Shown()) << "byte 3 changed";
    EXPECT_EQ(1, g_session.quickOption[3]);

    Zlvn_OnInactive();
    Zlvn_OnChangeQuickOption();
    EXPECT_FALSE(Shown()) << "byte 3 as saved: nothing";

    HintSettings.Enable = 0;
    Host().quickOption[3] = 0;
    Zlvn_OnChangeQuickOption();
    EXPECT_FALSE(Shown()) << "disabled";
    EXPECT_EQ(0, g_session.quickOption[3]) << "saved even when disabled";
    EXPECT_EQ(2 * 4, HostCalls("Zlvn_GetQuickOption")) << "two reads per change";
}

TEST_F(HostEvents, ToggleFlipsTheFlagTheHintsAndTheMenuCheckByte)
{
    std::vector<std::string> reloads;
    Host().onReloadMenu = [&](const char* name) { reloads.push_back(name); };
    HWND front = Target(RECT{500, 300, 800, 500}, "front");
    HWND back = Target(RECT{100, 300, 400, 500}, "back");
    Host().windowHandles[0] = front, Host().windowHandles[1] = back;
    SetForegroundWindow(back);

    Zlvn_OnActive();
    HintToggleEnable(nullptr);
    EXPECT_EQ("Enable 0 shown 0 check 0", "Enable " + std::to_string(HintSettings.Enable) + " shown " +
              std::to_string(Shown()) + " check " + std::to_string(MenuCheckByte())) << "switched off: hidden at once";
    EXPECT_EQ(0, HostCalls("Zlvn_GetWindowHandles")) << "switching off brings nothing to the front";

    HintToggleEnable(nullptr);
    EXPECT_EQ("Enable 1 shown 1 check 1", "Enable " + std::to_string(HintSettings.Enable) + " shown " +
              std::to_string(Shown()) + " check " + std::to_string(MenuCheckByte())) << "switched on: shown at once";
    EXPECT_EQ(1, HostCalls("Zlvn_GetWindowHandles"));
    EXPECT_EQ(front, GetForegroundWindow()) << "the host's first window comes to the front";
    EXPECT_EQ((std::vector<std::string>{"Hint", "Hint"}), reloads) << "the menu is reloaded after each toggle";

    HintSettings.Enable = 7;  // any non-zero value counts as on
    HintToggleEnable(nullptr);
    EXPECT_EQ(0, HintSettings.Enable);
    HintToggleEnable(nullptr);
    EXPECT_EQ(1, HintSettings.Enable) << "written as 0 or 1";
}
