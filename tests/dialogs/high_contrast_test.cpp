// Both dialogs in a high-contrast theme, on a display and a Wine server of their own
// (tests/common/run_on_own_display.sh): the system colours are set dark there, and put back.

#include <set>

#include "plugin/records/globals.h"
#include "tests/common/default_settings.h"
#include "tests/common/dialog_driver.h"
#include "tests/common/import_patch.h"

namespace {

using C = OptionControl;
using colours_t = std::vector<std::pair<int, COLORREF>>;

constexpr COLORREF kFont = RGB(0, 0, 255), kSwatch = RGB(255, 255, 128), kWindow = RGB(0, 0, 0), kText = RGB(255, 255, 255),
                   kMenu = RGB(64, 0, 64), kLink = RGB(255, 255, 0);
// Dark, with a 3-D highlight that is not the text's white.
const colours_t kDark = {{COLOR_WINDOW, kWindow}, {COLOR_WINDOWTEXT, kText}, {COLOR_MENU, kMenu}, {COLOR_BTNFACE, RGB(0, 0, 64)},
                         {COLOR_BTNTEXT, kText}, {COLOR_HOTLIGHT, kLink}, {COLOR_BTNHIGHLIGHT, RGB(96, 96, 96)}};

bool g_contrast;  // what the stand-in reports
std::set<HWND> g_toldColours;  // common controls that heard of a colour change

// Wine reports high contrast off whatever is set (it does not implement SPI_SETHIGHCONTRAST);
// the dialogs are this program's only caller.
BOOL WINAPI ParametersStandIn(UINT action, UINT, PVOID data, UINT)
{
    if (action == SPI_GETHIGHCONTRAST) static_cast<HIGHCONTRASTW*>(data)->dwFlags = g_contrast ? HCF_HIGHCONTRASTON : 0;
    return action == SPI_GETHIGHCONTRAST;
}

LRESULT CALLBACK ColourSpy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_SYSCOLORCHANGE) g_toldColours.insert(hwnd);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void SetColours(const colours_t& colours)
{
    for (auto [element, colour] : colours) SetSysColors(1, &element, &colour);
}

// Once the control's form has painted what a change asked for (no redraw forced), its pixels.
void ExpectPixels(const std::string& what, HWND control, const std::vector<COLORREF>& shown, const std::vector<COLORREF>& notShown)
{
    EXPECT_TRUE(WaitForScreen(WindowRect(GetAncestor(control, GA_ROOT)))) << what;
    for (COLORREF c : shown) EXPECT_TRUE(WindowShowsColour(control, c)) << what << ": shows " << ColourText(c);
    for (COLORREF c : notShown) EXPECT_FALSE(WindowShowsColour(control, c)) << what << ": no " << ColourText(c);
}

HWND Item(C row) { return g_okBottomDlg->Item(row); }

TEST(HighContrast, DialogsDrawInTheSystemPairsAndFollowEveryChange)
{
    ImportPatch parameters(GetModuleHandleA(nullptr), "user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(ParametersStandIn));
    struct Restore { colours_t saved; ~Restore() { SetColours(saved); } } restore;
    for (auto [element, colour] : kDark) restore.saved.push_back({element, GetSysColor(element)});
    UseDefaultSettings();
    FreshSession(Life::SetUp);
    HintSettings.FontColor = kFont;
    HintSettings.NmlBgColor = kSwatch;
    // Each change is made while the dialog is open, as a user switches the theme.
    const struct { const char* change; void (*make)(); C control; std::vector<COLORREF> shown, notShown; } steps[] = {
        {"high contrast on, colours dark", [] { g_contrast = true; SetColours(kDark); }, C::LabelFontName, {kText, kWindow}, {kFont, kMenu}},
        {"as before", [] {}, C::StcNmlBgColor, {kSwatch, kText}, {}},
        {"high contrast off (WM_THEMECHANGED)", [] { g_contrast = false; SendMessageA(g_okBottomDlg->Handle(), WM_THEMECHANGED, 0, 0); },
         C::LabelFontName, {kFont, kMenu}, {kWindow}},
    };
    const C spied[] = {C::PageControl1, C::ShtKeyToggleEnable};
    DialogScript settings("settings dialog");
    settings.Shown(g_okBottomDlg).Do("spies", [&spied] { for (C c : spied) SetWindowSubclass(Item(c), ColourSpy, 1, 0); }).Painted();
    for (const auto& s : steps)
        settings.Do(s.change, s.make).Do("look", [&s] {
            ExpectPixels(std::string(s.change) + ", " + ControlName(OKBottomDlgForm(), form::RowOf(s.control)), Item(s.control), s.shown, s.notShown);
        });
    settings.Do("close", [&spied] {
        for (C c : spied) EXPECT_EQ(1u, g_toldColours.count(Item(c))) << c << " heard of the colour change";
        PostClick(Item(C::CancelBtn));  // the spies go with their windows
    });
    EXPECT_TRUE(settings.Run([] { HintOption(nullptr); })) << settings.Report();

    g_contrast = true;
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox box(nullptr, "Hint", dll.Module());
    TAboutBox* shown = &box;
    DialogScript version("version box");
    version.Shown(shown).Painted().Do("link", [&box] {
        ExpectPixels("high contrast on, the link", box.Item(AboutControl::WebSite), {kLink}, {RGB(0, 0, 255)});
        PostClick(box.Item(AboutControl::OKButton));
    });
    EXPECT_TRUE(version.Run([&box] { box.ShowModal(); })) << version.Report();
}

}  // namespace
