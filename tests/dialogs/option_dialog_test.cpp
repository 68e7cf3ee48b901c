// The settings dialog, driven through its real controls under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <cstring>

#include "dialogs/HintUnitOpt.h"
#include "host/zlvn_host.h"
#include "plugin/exports.h"
#include "plugin/hint_settings.h"
#include "support/bounded_text.h"
#include "tests/common/plugin_dll.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

// A record with a value in every field, unlike the defaults where they matter.
hint_settings_t SampleRecord()
{
    hint_settings_t s = {};
    s.Enable = 1;
    s.Pos = 2;
    s.Contents = 1;
    s.Width = 120;
    s.IsUseBmp = 0;
    CopyText(s.BgNormal, "C:\\pictures\\normal.bmp");
    CopyText(s.BgIconic, "C:\\pictures\\iconic.bmp");
    s.NmlBorderColor = RGB(247, 247, 0);
    s.NmlBgColor = RGB(255, 255, 128);
    s.MinBorderColor = RGB(212, 212, 212);
    s.MinBgColor = RGB(10, 20, 30);
    CopyText(s.FontName, "MS UI Gothic");
    s.FontSize = 11;
    s.FontStyle = {1, 0, 0, 1};
    s.FontColor = RGB(0, 0, 255);
    s.IsNoOver = 1;
    s.IsShowIcon = 0;
    CopyText(s.ToggleEnable, "Ctrl+H");
    return s;
}

bool SameRecord(const hint_settings_t& a, const hint_settings_t& b) { return memcmp(&a, &b, sizeof a) == 0; }

std::string Describe(const hint_settings_t& s)
{
    char text[1024];
    FormatText(text, sizeof text,
               "Enable=%d Pos=%d Contents=%d Width=%d IsUseBmp=%d BgNormal='%s' BgIconic='%s' "
               "colours=%06lx/%06lx/%06lx/%06lx Font='%s' %d style=%d%d%d%d colour=%06lx IsNoOver=%d "
               "IsShowIcon=%d ToggleEnable='%s'",
               s.Enable, s.Pos, s.Contents, s.Width, s.IsUseBmp, s.BgNormal, s.BgIconic, s.NmlBorderColor,
               s.NmlBgColor, s.MinBorderColor, s.MinBgColor, s.FontName, s.FontSize, s.FontStyle.Bold,
               s.FontStyle.Italic, s.FontStyle.Underline, s.FontStyle.StrikeOut, s.FontColor, s.IsNoOver,
               s.IsShowIcon, s.ToggleEnable);
    return text;
}

TOKBottomDlg* Dlg() { return _OKBottomDlg; }

class OptionDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = HintSettings;
        HintSettings = SampleRecord();
        zlvnhost::ResetHost();
    }
    void TearDown() override { HintSettings = saved; }

    // Opens the dialog through the command, runs the script inside it.
    void RunDialog(DialogScript& script)
    {
        script.Run([] { HintOption(nullptr); });
        EXPECT_TRUE(script.Completed()) << script.Report();
        EXPECT_EQ(nullptr, _OKBottomDlg) << script.Report();
    }

    int ReloadCount() const
    {
        int n = 0;
        for (const std::string& call : zlvnhost::Host().calls) n += call == "Zlvn_ReloadMenu";
        return n;
    }

    static bool Shown() { return Dlg() && Dlg()->Handle() && IsWindowVisible(Dlg()->Handle()); }

    hint_settings_t saved;
};

TEST_F(OptionDialog, ScreenshotsOfBothPagesAndLayoutAtScreenScale)
{
    DialogScript script("screenshots");
    script.Then("dialog shown", Shown)
        .Do("page 1", [] { ASSERT_TRUE(SaveWindowShot(Dlg()->Handle(), ShotDir() + "\\settings_page1.bmp")); })
        .Do("page 2", [] { Dlg()->SelectPage(1); })
        .Do("shot 2", [] { ASSERT_TRUE(SaveWindowShot(Dlg()->Handle(), ShotDir() + "\\settings_page2.bmp")); })
        .Do("close", [] { PostClick(Dlg()->Item("CancelBtn")); });
    RunDialog(script);
}

}  // namespace
