// Both dialogs in a high-contrast theme, run on a display and a Wine server of their own
// (tests/common/run_on_own_display.sh): the system colours set dark there, put back after.

#include <set>

#include "tests/common/default_settings.h"
#include "tests/common/dialog_driver.h"
#include "tests/common/import_patch.h"

namespace {

using C = OptionControl;

constexpr COLORREF kFontColour = RGB(0, 0, 255), kSwatchColour = RGB(255, 255, 128);
constexpr COLORREF kWindow = RGB(0, 0, 0), kText = RGB(255, 255, 255), kMenu = RGB(64, 0, 64), kLink = RGB(255, 255, 0);
const std::pair<int, COLORREF> kDark[] = {{COLOR_WINDOW, kWindow}, {COLOR_WINDOWTEXT, kText}, {COLOR_MENU, kMenu},
                                          {COLOR_BTNFACE, RGB(0, 0, 64)}, {COLOR_BTNTEXT, kText}, {COLOR_HOTLIGHT, kLink},
                                          {COLOR_BTNHIGHLIGHT, RGB(96, 96, 96)} /* not the text's white */};

bool g_contrast;  // what the stand-in reports
ImportPatch* g_parametersPatch;

// Wine reports high contrast off whatever is set (it does not implement SPI_SETHIGHCONTRAST).
BOOL WINAPI ParametersStandIn(UINT action, UINT size, PVOID data, UINT flags)
{
    BOOL ok = reinterpret_cast<decltype(&SystemParametersInfoW)>(g_parametersPatch->Original())(action, size, data, flags);
    if (ok && action == SPI_GETHIGHCONTRAST && g_contrast) static_cast<HIGHCONTRASTW*>(data)->dwFlags |= HCF_HIGHCONTRASTON;
    return ok;
}

// The system colours of this display, dark while it lives.
class DarkColours {
public:
    DarkColours()
    {
        for (auto [element, colour] : kDark) m_saved.push_back({element, GetSysColor(element)});
        Set(std::vector<std::pair<int, COLORREF>>(std::begin(kDark), std::end(kDark)));
    }
    ~DarkColours() { Set(m_saved); }
    static void Set(const std::vector<std::pair<int, COLORREF>>& colours)
    {
        for (auto [element, colour] : colours) SetSysColors(1, &element, &colour);
    }

private:
    std::vector<std::pair<int, COLORREF>> m_saved;
};

struct look_t {
    const char* what;
    std::function<HWND()> control;
    std::vector<COLORREF> shown, notShown;
};

// Waits until the form has painted what the change asked for (no redraw forced), then reads it.
void ExpectLook(const std::string& change, const look_t& look)
{
    HWND control = look.control();
    EXPECT_TRUE(WaitForScreen(WindowRect(GetAncestor(control, GA_ROOT)))) << change;
    ScreenPixels pixels(WindowRect(control));
    for (COLORREF c : look.shown) EXPECT_TRUE(pixels.Contains(c)) << change << ", " << look.what << ": shows " << ColourText(c);
    for (COLORREF c : look.notShown) EXPECT_FALSE(pixels.Contains(c)) << change << ", " << look.what << ": no " << ColourText(c);
}

HWND SettingsItem(C row) { return g_okBottomDlg->Item(row); }

// The common controls that heard of a colour change (only top-level windows do from the system).
std::set<HWND> g_toldColours;
LRESULT CALLBACK ColourSpy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_SYSCOLORCHANGE) g_toldColours.insert(hwnd);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST(HighContrast, DialogsDrawInTheSystemPairsAndFollowEveryChange)
{
    ImportPatch parameters(GetModuleHandleA(nullptr), "user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(ParametersStandIn));
    ASSERT_TRUE(parameters.Patched());
    g_parametersPatch = &parameters;
    UseDefaultSettings();
    ResetLifecycle(true);
    HintSettings.FontColor = kFontColour;
    HintSettings.NmlBgColor = kSwatchColour;
    std::unique_ptr<DarkColours> dark;
    const look_t fontName = {"font name box", [] { return SettingsItem(C::LabelFontName); }, {}, {}};
    // Each change is made while the dialog is open, as a user switches the theme.
    const struct { const char* change; std::function<void()> make; std::vector<look_t> looks; } steps[] = {
        {"high contrast on, colours dark", [&dark] { g_contrast = true; dark = std::make_unique<DarkColours>(); },
         {{"font name box", fontName.control, {kText, kWindow}, {kFontColour, kMenu}},
          {"font style box", [] { return SettingsItem(C::LabelFontStyle); }, {kText, kWindow}, {kMenu}},
          {"colour swatch", [] { return SettingsItem(C::StcNmlBgColor); }, {kSwatchColour, kText}, {}}}},
        {"high contrast off (WM_THEMECHANGED)", [] { g_contrast = false; SendMessageA(g_okBottomDlg->Handle(), WM_THEMECHANGED, 0, 0); },
         {{"font name box", fontName.control, {kFontColour, kMenu}, {kWindow}}}},
        {"on again, the window colour changed (WM_SYSCOLORCHANGE)", [] { g_contrast = true; DarkColours::Set({{COLOR_WINDOW, RGB(0, 64, 0)}}); },
         {{"font name box", fontName.control, {kText, RGB(0, 64, 0)}, {kFontColour, kWindow}}}},
    };
    DialogScript settings("settings dialog");
    const C controls[] = {C::PageControl1, C::ShtKeyToggleEnable};
    settings.Shown(g_okBottomDlg).Do("spies", [&controls] { for (C c : controls) SetWindowSubclass(SettingsItem(c), ColourSpy, 1, 0); }).Painted();
    for (const auto& s : steps)
        settings.Do(s.change, s.make).Do(std::string(s.change) + ": look", [&s] { for (const look_t& l : s.looks) ExpectLook(s.change, l); });
    settings.Do("close", [&controls] {
        for (C c : controls) {
            EXPECT_EQ(1u, g_toldColours.count(SettingsItem(c))) << c << " heard of the colour change";
            RemoveWindowSubclass(SettingsItem(c), ColourSpy, 1);
        }
        PostClick(SettingsItem(C::CancelBtn));
    });
    EXPECT_TRUE(settings.Run([] { HintOption(nullptr); })) << settings.Report();

    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox box(nullptr, "Hint", dll.Module());
    TAboutBox* shown = &box;
    DialogScript version("version box");
    version.Shown(shown).Painted().Do("link", [&box] {
        ExpectLook("high contrast on", {"link", [&box] { return box.Item(AboutControl::WebSite); }, {kLink}, {RGB(0, 0, 255)}});
        PostClick(box.Item(AboutControl::OKButton));
    });
    EXPECT_TRUE(version.Run([&box] { box.ShowModal(); })) << version.Report();
}

}  // namespace
