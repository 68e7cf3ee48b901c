// The settings dialog, driven through its real controls under Wine.

#include <oleacc.h>

#include <map>
#include <set>

#include "dialogs/shortcut_text.h"
#include "plugin/records/globals.h"
#include "support/proc_address.h"
#include "tests/common/dialog_driver.h"
#include "tests/common/import_patch.h"

namespace {

using C = OptionControl;

// A record with a value in every field, in field order, unlike the defaults where they
// matter; the font is bold and struck out.
const hint_settings_t kSample = {1, 2, 1, 120, 0, "C:\\pictures\\normal.bmp", "C:\\pictures\\iconic.bmp",
                                 RGB(247, 247, 0), RGB(255, 255, 128), RGB(212, 212, 212), RGB(10, 20, 30),
                                 "MS UI Gothic", 11, {1, 0, 0, 1}, RGB(0, 0, 255), 1, 0, "Ctrl+H"};

TOKBottomDlg& Dlg() { return *g_okBottomDlg; }
WORD HotKey() { return static_cast<WORD>(SendMessageA(Dlg().Item(C::ShtKeyToggleEnable), HKM_GETHOTKEY, 0, 0)); }
void SetHotKey(WORD key) { SendMessageA(Dlg().Item(C::ShtKeyToggleEnable), HKM_SETHOTKEY, key, 0); }

class OptionDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        HintSettings = kSample;
        zlvnhost::ResetHost();
        FreshSession(Life::SetUp);  // the command works for a set-up plug-in
    }
    void TearDown() override { HintSettings = saved; }

    // A script whose first step waits until the dialog is shown.
    static DialogScript Opened(const std::string& name) { return DialogScript(name).Shown(g_okBottomDlg); }
    // Opens the dialog through the command, runs the script inside it, then presses closeWith.
    void RunDialog(DialogScript& script, C closeWith = C::None)
    {
        if (closeWith != C::None)  // a failed step may have closed the dialog already
            script.Do("close", [closeWith] { if (g_okBottomDlg) PostClick(Dlg().Item(closeWith)); });
        EXPECT_TRUE(script.Run([] { HintOption(nullptr); })) << script.Report();
        EXPECT_EQ(nullptr, g_okBottomDlg) << script.Report();
    }

    // Opens the dialog, reads the hot-key field and closes the dialog with this button.
    WORD HotKeyShown(C closeWith, const std::string& name)
    {
        WORD shown = 0xFFFF;
        RunDialog(Opened(name).Do("read", [&shown] { shown = HotKey(); }), closeWith);
        return shown;
    }

    hint_settings_t saved = HintSettings;
};

// The row whose control has the focus.
C FocusedRow()
{
    for (size_t r = 0; r < OKBottomDlgForm().count; ++r)
        if (Dlg().Item(static_cast<C>(r)) == GetFocus()) return static_cast<C>(r);
    return C::None;
}

// The names of the radio buttons and check boxes that are checked, in row order.
std::string CheckedRows()
{
    std::string names;
    for (size_t r = 0; r < OKBottomDlgForm().count; ++r) {
        form::Kind kind = OKBottomDlgForm().controls[r].kind;
        if ((kind == form::Kind::Radio || kind == form::Kind::Check) && Dlg().Checked(static_cast<C>(r)))
            names += std::string(names.empty() ? "" : " ") + ControlName(OKBottomDlgForm(), static_cast<int>(r));
    }
    return names;
}

LOGFONTA LabelFont(C name) { return FontOf(ControlFont(Dlg().Item(name))); }
// The three font labels: "name, size, style".
std::string FontLabels()
{
    return Dlg().Text(C::LabelFontName) + ", " + Dlg().Text(C::LabelFontSize) + ", " + Dlg().Text(C::LabelFontStyle);
}

TEST_F(OptionDialog, FillsEveryControlAndOkStoresTheRecordUnchanged)
{
    RunDialog(Opened("fill").Do("check controls", [] {
        EXPECT_EQ(0, Dlg().ActivePage());
        EXPECT_EQ(Dlg().Item(C::OKBtn), GetFocus()) << "first tab stop";
        EXPECT_EQ("RdoPosTopRight ChkIsNoOver RdoNotUseImage RdoTxtFull", CheckedRows());
        // A hidden group hides its contents.
        const std::pair<C, bool> visible[] = {{C::GrpBgColor, true}, {C::StcMinBgColor, true}, {C::GrpBgBmp, false}, {C::EdtBgbmpNml, false}};
        for (auto [c, on] : visible) EXPECT_EQ(on, Dlg().Visible(c)) << c;
        EXPECT_EQ("MS UI Gothic, 11, 太字", FontLabels());
        // Every other key in the control its row of the settings table names.
        for (const setting_key_t& k : kSettingKeys) {
            C c = KeyControlOf(k).control;
            DialogKind kind = KeyControlOf(k).kind;
            EXPECT_EQ(kind == DialogKind::None, Dlg().Item(c) == nullptr) << k.key << " in " << c;
            if (kind == DialogKind::TextField) { EXPECT_EQ(&SettingField<char>(kSample, k), Dlg().Text(c)) << k.key; }
            if (kind == DialogKind::NumberField) { EXPECT_EQ(std::to_string(SettingField<int>(kSample, k)), Dlg().Text(c)) << k.key; }
            if (kind == DialogKind::ColourSwatch) { EXPECT_EQ(SettingField<COLORREF>(kSample, k), Dlg().SwatchColour(c)) << k.key; }
        }
        // Bold and struck out, in the dialog's own text height.
        EXPECT_EQ("MS UI Gothic " + std::to_string(-MulDiv(15, Dlg().Ppi(), 120)) + " 700 001",
                  FontText(LabelFont(C::LabelFontName)));
        EXPECT_EQ(MAKEWORD('H', HOTKEYF_CONTROL), HotKey());
    }), C::OKBtn);
    EXPECT_TRUE(SameRecord(kSample, HintSettings));
    EXPECT_EQ(1, HostCalls("Zlvn_ReloadMenu")) << "menu reloaded after OK";
}

TEST_F(OptionDialog, FontSizeIsStoredFromTheDialogNotReadBackFromItsLabel)
{
    RunDialog(Opened("font size").Do("spoil the label", [] { Dlg().SetText(C::LabelFontSize, "abc"); }), C::OKBtn);
    EXPECT_EQ(11, HintSettings.FontSize) << "the label only shows the size";
}

TEST_F(OptionDialog, UnusualRecordKeepsWhatNoControlShows)
{
    hint_settings_t& s = HintSettings;
    s.Enable = 0; s.Pos = 7; s.Contents = 2; s.IsNoOver = 5; s.IsUseBmp = 3;
    CopyText(s.ToggleEnable, "alt+h");
    hint_settings_t expected = s;
    expected.IsNoOver = 1; expected.IsUseBmp = 1;  // the check box and radio button store 1
    CopyText(expected.ToggleEnable, "Alt+H");
    RunDialog(Opened("unusual record").Do("check and OK", [] {
        EXPECT_EQ("ChkIsNoOver RdoUseImage", CheckedRows()) << "Pos 7, Contents 2, IsUseBmp 3";
        EXPECT_TRUE(Dlg().Visible(C::GrpBgBmp));
        EXPECT_FALSE(Dlg().Visible(C::GrpBgColor));
        EXPECT_EQ(MAKEWORD('H', HOTKEYF_ALT), HotKey()) << "lower-case alt+h";
        // A radio group with nothing checked must stay reachable from the keyboard.
        EXPECT_TRUE(GetWindowLongA(Dlg().Item(C::RdoPosTopLeft), GWL_STYLE) & WS_TABSTOP);
    }), C::OKBtn);
    EXPECT_TRUE(SameRecord(expected, HintSettings));
}

TEST_F(OptionDialog, ShortcutTextReadAndWrittenBack)
{
    const struct { const char* stored; WORD shown; const char* written; } cases[] = {
        {"", 0, ""}, {"^H", MAKEWORD('H', HOTKEYF_CONTROL), "Ctrl+H"}, {"Alt+", 0, ""}, {"Ctrl+Nokey", 0, ""},
        {"alt+shift+ctrl+f12", MAKEWORD(VK_F12, HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_CONTROL), "Shift+Ctrl+Alt+F12"},
        {"Ctrl+5", MAKEWORD('5', HOTKEYF_CONTROL), "Ctrl+5"}};
    for (const auto& c : cases) {
        memset(HintSettings.ToggleEnable, 'x', sizeof HintSettings.ToggleEnable);
        CopyText(HintSettings.ToggleEnable, c.stored);
        EXPECT_EQ(c.shown, HotKeyShown(C::OKBtn, std::string("shortcut '") + c.stored + "'")) << "'" << c.stored << "'";
        EXPECT_EQ(std::string(c.written).append(24 - strlen(c.written), '\0'), std::string(HintSettings.ToggleEnable, 24))
            << "'" << c.stored << "': written, the rest of the field cleared";
    }
}

TEST_F(OptionDialog, CancelEscAndCloseBoxStoreNothing)
{
    const struct { const char* how; void (*close)(); } ways[] = {
        {"Cancel button", [] { PostClick(Dlg().Item(C::CancelBtn)); }},
        {"Esc", [] { PostKey(GetFocus(), VK_ESCAPE); }},
        {"close box", [] { PostMessageA(Dlg().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        RunDialog(Opened(way.how)
            .Do("edit everything", [] {
                for (C c : {C::RdoPosCenter, C::ChkIsNoOver, C::RdoUseImage, C::RdoTxtAlph}) PostClick(Dlg().Item(c));
                Dlg().SetText(C::EdtWidth, "77");
                Dlg().SetText(C::EdtBgbmpNml, "");
                Dlg().SetSwatchColour(C::StcNmlBgColor, RGB(1, 2, 3));
                SetHotKey(MAKEWORD('Q', HOTKEYF_ALT));
            })
            .Do("close", way.close));
        EXPECT_TRUE(SameRecord(kSample, HintSettings)) << way.how;
        EXPECT_EQ(&way - ways + 1, HostCalls("Zlvn_ReloadMenu")) << way.how << ": menu reloaded after Cancel too";
    }
}

TEST_F(OptionDialog, WidthNotAnIntegerKeepsTheDialogOpenAndStoresNothing)
{
    hint_settings_t before = HintSettings;
    std::string message;
    RunDialog(Opened("width abc")
        .Do("edit and OK", [] {
            PostClick(Dlg().Item(C::RdoPosCenter));
            PostClick(Dlg().Item(C::ChkIsNoOver));
            Dlg().SetText(C::EdtWidth, "abc");
            Dlg().SelectPage(1);  // OK pressed while the other page is shown
            PostClick(Dlg().Item(C::OKBtn));
        })
        .InDialog("error box", "Hint", [&message, &before](HWND box) {
            message = WindowText(GetDlgItem(box, 0xFFFF));
            EXPECT_TRUE(SameRecord(before, HintSettings)) << "nothing stored yet";
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        })
        .Do("width focused and selected", [] {
            ASSERT_NE(nullptr, Dlg().Handle()) << "the dialog stays open";
            EXPECT_TRUE(IsWindowVisible(Dlg().Handle()));
            EXPECT_EQ(0, Dlg().ActivePage()) << "the width's page is shown";
            EXPECT_EQ(C::EdtWidth, FocusedRow());
            DWORD start = 0, end = 0;
            SendMessageA(Dlg().Item(C::EdtWidth), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_TRUE(start == 0 && end == 3) << start << "-" << end;
            Dlg().SetText(C::EdtWidth, " $1F");
        }), C::OKBtn);
    EXPECT_EQ("'abc' は整数ではありません.", message);
    hint_settings_t expected = before;
    expected.Pos = 3; expected.IsNoOver = 0; expected.Width = 31;
    EXPECT_TRUE(SameRecord(expected, HintSettings)) << "after a good width";
    EXPECT_EQ(1, HostCalls("Zlvn_ReloadMenu"));
}

TEST_F(OptionDialog, HotKeyFieldAddsAltAndKeypadFiveIsStoredAsDigit)
{
    const struct { UINT vk; unsigned mods; WORD expected; const char* what; } keys[] = {
        {'H', 0, MAKEWORD('H', HOTKEYF_ALT), "H alone gets Alt"},
        {'H', HOTKEYF_SHIFT, MAKEWORD('H', HOTKEYF_ALT | HOTKEYF_SHIFT), "Shift+H gets Alt"},
        {'H', HOTKEYF_CONTROL, MAKEWORD('H', HOTKEYF_CONTROL), "Ctrl+H is kept"},
        {VK_NUMPAD5, HOTKEYF_CONTROL, MAKEWORD(VK_NUMPAD5, HOTKEYF_CONTROL), "Ctrl+keypad 5"}};
    DialogScript script = Opened("typed keys");
    script.Do("page 2", [] { Dlg().SelectPage(1); });
    for (const auto& k : keys) {
        script.Do(std::string("type: ") + k.what, [&k] {
                  SetHotKey(0);
                  SetForegroundWindow(Dlg().Handle());
                  Dlg().Focus(C::ShtKeyToggleEnable);
                  TypeKey(k.vk, k.mods);
              })
            .Then(k.what, [&k] {
                WORD key = HotKey();
                if (key == 0 || (GetAsyncKeyState(VK_MENU) & 0x8000)) return false;  // not typed yet
                EXPECT_EQ(k.expected, key) << k.what;
                return true;
            });
    }
    RunDialog(script, C::OKBtn);
    EXPECT_STREQ("Ctrl+5", HintSettings.ToggleEnable);
    EXPECT_EQ(MAKEWORD('5', HOTKEYF_CONTROL), HotKeyShown(C::CancelBtn, "reopened")) << "read back as the main-keyboard 5";
}

TEST_F(OptionDialog, OverlongShortcutIsCutTo23Bytes)
{
    unsigned longKey = 0;
    const unsigned char all = kModShift | kModCtrl | kModAlt;
    for (unsigned vk = 8; vk <= 255 && !longKey; ++vk)
        if (FormatShortcut({static_cast<unsigned char>(vk), all}).size() > 23) longKey = vk;
    if (!longKey) GTEST_SKIP() << "no key name here is long enough";
    std::string full = FormatShortcut({static_cast<unsigned char>(longKey), all});

    RunDialog(Opened("over-long shortcut").Do("set", [longKey] {
        SetHotKey(MAKEWORD(longKey, HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT));
    }), C::OKBtn);
    EXPECT_EQ(full.substr(0, 23), std::string(HintSettings.ToggleEnable)) << full;
    EXPECT_EQ('\0', HintSettings.ToggleEnable[23]);

    shortcut_t cut = ParseShortcut(HintSettings.ToggleEnable);
    EXPECT_EQ(cut.vk ? MAKEWORD(cut.vk, cut.mods) : 0, HotKeyShown(C::CancelBtn, "reopened after cut"))
        << "'" << HintSettings.ToggleEnable << "'";
}

TEST_F(OptionDialog, ColourChooserCancelledChangesNothingConfirmedTakesTheColour)
{
    constexpr int red = 706;  // the chooser's red field; green and blue follow
    RunDialog(Opened("colour chooser")
        .Do("click swatch", [] { PostMouseClick(Dlg().Item(C::StcMinBgColor)); })
        .InDialog("chooser open, cancel", red, [](HWND c) {
            ExpectCommonControls6("colour chooser", c);
            PostMessageA(c, WM_COMMAND, IDCANCEL, 0);
        })
        .Do("unchanged", [] {
            EXPECT_EQ(RGB(10, 20, 30), Dlg().SwatchColour(C::StcMinBgColor)) << "cancelled";
            PostMouseClick(Dlg().Item(C::StcMinBgColor));
        })
        .InDialog("chooser open, choose", red, [](HWND c) {
            for (int i = 0; i < 3; ++i) SetDlgItemTextA(c, red + i, i == 0 ? "200" : i == 1 ? "100" : "50");
            PostMessageA(c, WM_COMMAND, IDOK, 0);
        })
        .Do("confirmed", [] { EXPECT_EQ(RGB(200, 100, 50), Dlg().SwatchColour(C::StcMinBgColor)) << "confirmed"; }), C::OKBtn);
    EXPECT_EQ(RGB(200, 100, 50), HintSettings.MinBgColor);
    EXPECT_EQ(RGB(255, 255, 128), HintSettings.NmlBgColor);
}

// A face that the font chooser lists on this system, so that it opens on it.
std::string ListedFace()
{
    for (const font_face_t& face : FontFaces())
        if (face.name[0] != '@' && (face.type & TRUETYPE_FONTTYPE)) return face.name;
    return "";
}

TEST_F(OptionDialog, FontApplyThenCancelKeepsTheAppliedFont)
{
    const std::string listed = ListedFace();
    ASSERT_FALSE(listed.empty());
    CopyText(HintSettings.FontName, listed.c_str());
    HintSettings.FontStyle = {0, 0, 0, 0};
    HintSettings.FontSize = 10;
    const hint_settings_t before = HintSettings;
    std::string face;
    RunDialog(Opened("font chooser, face " + listed)
        .Do("open chooser", [] { PostClick(Dlg().Item(C::BtnFont)); })
        .InDialog("cancel without Apply", psh3, [](HWND c) { PostMessageA(c, WM_COMMAND, IDCANCEL, 0); })
        .Do("labels unchanged, open again", [&listed] {
            EXPECT_EQ(listed + ", 10, 標準", FontLabels());
            PostClick(Dlg().Item(C::BtnFont));
        })
        .InDialog("underline and Apply", psh3, [&face, &listed](HWND c) {
            face = WindowText(GetDlgItem(c, cmb1));
            EXPECT_EQ(listed, face) << "the chooser opens on the label's face";
            ExpectCommonControls6("font chooser", c);
            UnderlineAndApply(c);
            EXPECT_TRUE(LabelFont(C::LabelFontName).lfUnderline) << "applied while the chooser is open";
            PostMessageA(c, WM_COMMAND, IDCANCEL, 0);
        })
        .Do("applied font kept", [&face] {
            EXPECT_EQ(face + ", 10, 標準", FontLabels()) << "underline never shows in the style text";
            EXPECT_TRUE(LabelFont(C::LabelFontName).lfUnderline);
        }), C::OKBtn);
    hint_settings_t expected = before;
    CopyText(expected.FontName, face.c_str());
    expected.FontStyle.Underline = 1;  // size 10, neither bold nor italic, as before
    EXPECT_TRUE(SameRecord(Normalised(expected), Normalised(HintSettings)));
}

TEST_F(OptionDialog, FontChooserOpensOnTheHintsFaceSizeAndStyle)
{
    const std::string listed = ListedFace();
    ASSERT_FALSE(listed.empty());
    // face: what the record holds; opens: the face expected, nullptr for a face the
    // system draws in place of one that is not installed.
    const struct { const char* face; int size; font_style_t style; const char* opens; } cases[] = {
        {listed.c_str(), 10, {1, 0, 0, 0}, listed.c_str()},
        {"MS UI Gothic", 11, {0, 1, 0, 0}, "MS UI Gothic"},  // the default, mapped under Wine
        {"ＭＳ Ｐゴシック", 12, {1, 1, 0, 0}, "ＭＳ Ｐゴシック"},
        {"No Such Face Here", 12, {1, 1, 0, 0}, nullptr},
        {"", 10, {0, 0, 0, 0}, nullptr},
    };
    for (const auto& c : cases) {
        CopyText(HintSettings.FontName, c.face);
        HintSettings.FontSize = c.size;
        HintSettings.FontStyle = c.style;
        LOGFONTA opened = {};
        std::string what = std::string("face '") + c.face + "'";
        RunDialog(Opened("font chooser opening, " + what)
            .Do("open chooser", [] { PostClick(Dlg().Item(C::BtnFont)); })
            .InDialog("read its choice, cancel", psh3, [&opened](HWND chooser) {
                SendMessageA(chooser, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&opened));
                PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
            }), C::CancelBtn);
        const std::string face = c.opens ? c.opens : opened.lfFaceName;
        EXPECT_EQ(face + " " + std::to_string(-MulDiv(c.size, form::ScreenPpi(), 72)) + (c.style.Bold ? " 700 " : " 400 ") +
                  (c.style.Italic ? "100" : "000"), FontText(opened)) << what;
        if (!c.opens) { EXPECT_TRUE(face[0] != '@' && !face.empty() && !FontFaces(face).empty()) << what << ": a listed face"; }
    }
}

TEST_F(OptionDialog, PictureModeKeepsColoursAndTheChooserFillsThePath)
{
    TempDir dir;
    std::string chosen = dir.File("picture");
    // The chooser adds the default extension only when that file exists.
    ASSERT_TRUE(CopyFileA((ProgramDir() + "\\bgnml.bmp").c_str(), (chosen + ".bmp").c_str(), FALSE));
    bool preview = false;
    RunDialog(Opened("picture chooser")
        .Do("picture mode", [] { PostClick(Dlg().Item(C::RdoUseImage)); })
        .Do("mode switched, browse", [] {
            EXPECT_TRUE(Dlg().Visible(C::GrpBgBmp));
            EXPECT_FALSE(Dlg().Visible(C::GrpBgColor));
            EXPECT_FALSE(Dlg().Checked(C::RdoNotUseImage));
            PostClick(Dlg().Item(C::BtnBgbmpNml));
        })
        .InDialog("chooser open", cmb13, [&chosen, &preview](HWND c) {
            preview = !ChildWindows(c, [](HWND w) { return GetDlgCtrlID(w) == 1200; }).empty();
            ExpectCommonControls6("picture chooser", c);
            SendMessageA(c, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(chosen.c_str()));
            PostMessageA(c, WM_COMMAND, IDOK, 0);
        })
        .Do("path", [&chosen] { EXPECT_EQ(chosen + ".bmp", Dlg().Text(C::EdtBgbmpNml)) << "default extension"; }), C::OKBtn);
    EXPECT_TRUE(preview) << "the chooser shows a preview";
    hint_settings_t expected = kSample;
    expected.IsUseBmp = 1;
    CopyText(expected.BgNormal, (chosen + ".bmp").c_str());
    EXPECT_TRUE(SameRecord(expected, HintSettings)) << "colours kept in picture mode";
}

TEST_F(OptionDialog, KeyboardTabOrderAcceleratorsAndEnter)
{
    std::vector<C> visited;
    DialogScript script = Opened("keyboard");
    for (int i = 0; i < 14; ++i)
        script.Do("tab", [&visited] {
            visited.push_back(FocusedRow());
            PostKey(GetFocus(), VK_TAB);
        });
    script.Do("Alt+W", [] { PostAltKey(GetFocus(), 'w'); })
        .Do("width focused", [] {
            EXPECT_EQ(C::EdtWidth, FocusedRow()) << "Alt+W";
            PostAltKey(GetFocus(), 'a');
        })
        .Do("Alt+A checked the letter-only radio", [] {
            EXPECT_TRUE(Dlg().Checked(C::RdoTxtAlph)) << "Alt+A";
            Dlg().Focus(C::EdtWidth);
            Dlg().SetText(C::EdtWidth, "64");
        })
        .Do("Enter", [] { PostKey(GetFocus(), VK_RETURN); });
    RunDialog(script);
    const std::vector<C> expected = {C::OKBtn, C::CancelBtn, C::PageControl1, C::RdoPosTopRight, C::ChkIsNoOver,
        C::RdoNotUseImage, C::StcNmlBgColor, C::StcNmlBorderColor, C::StcMinBgColor, C::StcMinBorderColor, C::EdtWidth,
        C::RdoTxtFull, C::ChkIsShowIcon, C::BtnFont};
    EXPECT_EQ(expected, visited);
    EXPECT_EQ(64, HintSettings.Width) << "Enter is OK";
    EXPECT_EQ(0, HintSettings.Contents);
}

TEST_F(OptionDialog, TitleFontTabsAndCaptions)
{
    RunDialog(Opened("title, font and captions").Do("check", [] {
        EXPECT_EQ("ダイアログ", WindowText(Dlg().Handle()));
        LONG style = GetWindowLongA(Dlg().Handle(), GWL_STYLE);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "fixed size, no boxes";
        EXPECT_EQ("ＭＳ Ｐゴシック " + std::to_string(-MulDiv(15, Dlg().Ppi(), 120)) + " 400 000", FontText(FontOf(Dlg().FormFont())));
        EXPECT_EQ(SHIFTJIS_CHARSET, FontOf(Dlg().FormFont()).lfCharSet);
        EXPECT_EQ(reinterpret_cast<LRESULT>(Dlg().FormFont()), SendMessageA(Dlg().Item(C::CancelBtn), WM_GETFONT, 0, 0));
        const char* tabs[] = {"全般", "ショートカットキー"};
        EXPECT_EQ(2, SendMessageA(Dlg().Item(C::PageControl1), TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < 2; ++i) {
            char text[64] = {};
            TCITEMA item = {TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
            SendMessageA(Dlg().Item(C::PageControl1), TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(tabs[i], text) << "tab " << i;
        }
        const struct { C name; const char* caption; } captions[] = {
            {C::CancelBtn, "キャンセル"}, {C::RdoPosTopCenter, "各アプリの中央上(&2)"},
            {C::ChkIsNoOver, "表示が重ならないようにする(&D)"}, {C::Label2, "通常・背景色"},
            {C::Label6, "※0は表示文字に合わせたサイズ"}, {C::BtnFont, "フォント(&F)"},
            {C::LblToggleEnable, "有効/無効のトグル(&T)"},
        };
        for (const auto& c : captions) EXPECT_EQ(c.caption, Dlg().Text(c.name)) << c.name;
    }), C::CancelBtn);
}

// Both pages have an "&T" caption; only the shown page may answer Alt+T.
TEST_F(OptionDialog, AcceleratorOfTheShownPageOnly)
{
    HintSettings.Contents = 0;
    RunDialog(Opened("Alt+T on each page")
        .Do("page 2", [] { Dlg().SelectPage(1); Dlg().Focus(C::OKBtn); })
        .Do("Alt+T", [] { PostAltKey(GetFocus(), 't'); })
        .Do("hot-key field focused", [] {
            EXPECT_EQ(C::ShtKeyToggleEnable, FocusedRow()) << "Alt+T on the shortcut page";
            EXPECT_FALSE(Dlg().Checked(C::RdoTxtFull)) << "the hidden page's radio button is left alone";
            Dlg().SelectPage(0);
            Dlg().Focus(C::OKBtn);
        })
        .Do("Alt+T on page 1", [] { PostAltKey(GetFocus(), 't'); })
        .Do("radio button focused", [] {
            EXPECT_EQ(C::RdoTxtFull, FocusedRow()) << "Alt+T on the first page";
            EXPECT_TRUE(Dlg().Checked(C::RdoTxtFull));
        }), C::CancelBtn);
}

struct design_t { C name; design_rect_t rect; };  // at 120 ppi, in the form or the page
// Nested rows are scaled level by level, so an edge may round by a pixel or two.
void ExpectPlaced(const design_t& d)
{
    ExpectScaled(RectIn(Dlg().Item(d.name), Dlg().Container(d.name)), d.rect, 120, Dlg().Ppi(), 2, d.name);
}

TEST_F(OptionDialog, ScreenshotsOfBothPagesAndLayoutAtScreenScale)
{
    const design_t designs[] = {{C::OKBtn, 279, 477, 94, 31}, {C::CancelBtn, 387, 477, 94, 31},
        {C::PageControl1, 8, 8, 473, 465}, {C::GrpPosition, 8, 4, 449, 101}, {C::RdoPosTopCenter, 162, 24, 159, 21},
        {C::RdoPosDeskTopLeft, 322, 24, 119, 21}, {C::ChkIsNoOver, 18, 72, 223, 25}, {C::GrpBackground, 8, 120, 449, 97},
        {C::RdoUseImage, 16, 144, 113, 17}, {C::GrpBgColor, 144, 136, 305, 73}, {C::StcMinBorderColor, 392, 177, 41, 20},
        {C::Label5, 290, 156, 119, 21}, {C::EdtWidth, 68, 256, 61, 23}, {C::Label6, 146, 258, 213, 15},
        {C::RdoTxtFull, 164, 324, 121, 21}, {C::LabelFontName, 13, 367, 201, 26}, {C::BevelFontStyle, 225, 364, 79, 31},
        {C::LabelFontSize, 315, 367, 20, 26}, {C::BtnFont, 372, 368, 81, 25}, {C::ChkIsShowIcon, 10, 406, 161, 21},
        {C::LblToggleEnable, 8, 8, 145, 23}, {C::ShtKeyToggleEnable, 168, 8, 121, 21}};
    const design_t picturePage[] = {{C::EdtBgbmpNml, 208, 152, 161, 23}, {C::BtnBgbmpIcn, 376, 176, 67, 25}};
    RunDialog(Opened("screenshots")
        .Painted()
        .Do("page 1", [&designs] {
            ASSERT_TRUE(SaveWindowShot(Dlg().Handle(), "settings_page1.bmp"));
            ExpectScaled(ClientRect(Dlg().Handle()), {0, 0, 493, 517}, 120, Dlg().Ppi(), 1, "client area");
            RECT w = WindowRect(Dlg().Handle());
            EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (w.left + w.right) / 2, 1) << "centred";
            EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (w.top + w.bottom) / 2, 1) << "centred";
            for (const design_t& row : designs) ExpectPlaced(row);
            // Each page lies inside the tab control, below its row of tabs.
            RECT tab;
            SendMessageA(Dlg().Item(C::PageControl1), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
            RECT tabs = RectIn(Dlg().Item(C::PageControl1), Dlg().Handle());
            for (C page : {C::TabSheet1, C::TabSheet2}) {
                RECT p = RectIn(Dlg().Item(page), Dlg().Handle());
                EXPECT_GE(p.top, tabs.top + tab.bottom) << page << " below the tabs";
                EXPECT_TRUE(p.left > tabs.left && p.right < tabs.right && p.bottom < tabs.bottom) << page << " inside";
            }
            // The page is painted over the tab control: a swatch shows its colour.
            ScreenPixels swatch(WindowRect(Dlg().Item(C::StcNmlBgColor)));
            EXPECT_EQ(RGB(255, 255, 128), swatch.At(swatch.Width() / 2, swatch.Height() / 2));
            EXPECT_TRUE(WindowShowsColour(Dlg().Item(C::LabelFontName), RGB(0, 0, 255))) << "name drawn in the font colour";
            EXPECT_TRUE(WindowShowsColour(Dlg().Item(C::LabelFontStyle), GetSysColor(COLOR_MENU))) << "menu-coloured box";
            auto textured = As<BOOL(WINAPI*)(HWND)>(GetProcAddress(GetModuleHandleA("uxtheme.dll"), "IsThemeDialogTextureEnabled"));
            EXPECT_TRUE(textured && textured(Dlg().Item(C::TabSheet1))) << "the page takes the tab body's background";
            PostClick(Dlg().Item(C::RdoUseImage));
        })
        .Do("picture group", [&picturePage] {
            for (const design_t& row : picturePage) ExpectPlaced(row);
            Dlg().SelectPage(1);
        })
        .Painted()
        .Do("page 2", [] { ASSERT_TRUE(SaveWindowShot(Dlg().Handle(), "settings_page2.bmp")); }), C::CancelBtn);
}

// The platform's annotation service as a stand-in (Wine's answers E_NOTIMPL): a COM object
// whose table holds what the dialogs call; a name cleared while its window exists is "alive".
std::map<HWND, std::wstring> g_names;
std::set<HWND> g_clearedAlive;
bool g_serviceThere;
HRESULT WINAPI StandInQuery(void* self, REFIID, void** out) { *out = self; return S_OK; }
ULONG WINAPI StandInCount(void*) { return 1; }
HRESULT WINAPI StandInSet(void*, HWND hwnd, DWORD, DWORD, MSAAPROPID, LPCWSTR name) { g_names[hwnd] = name; return S_OK; }
HRESULT WINAPI StandInClear(void*, HWND hwnd, DWORD, DWORD, const MSAAPROPID*, int) { if (IsWindow(hwnd)) g_clearedAlive.insert(hwnd); return S_OK; }
// IUnknown's three, then SetHwndPropStr and ClearHwndProps at their places in IAccPropServices.
void* const kStandInTable[] = {reinterpret_cast<void*>(StandInQuery), reinterpret_cast<void*>(StandInCount),
    reinterpret_cast<void*>(StandInCount), nullptr, nullptr, nullptr, nullptr, reinterpret_cast<void*>(StandInSet), nullptr,
    reinterpret_cast<void*>(StandInClear)};
void* const* g_standIn = kStandInTable;

// The dialogs are this program's only caller.
HRESULT WINAPI CreateStandIn(REFCLSID, LPUNKNOWN, DWORD, REFIID iid, LPVOID* out)
{
    bool there = g_serviceThere && iid.Data1 == 0x6e26e776 /* IAccPropServices */;
    *out = there ? &g_standIn : nullptr;
    return there ? S_OK : REGDB_E_CLASSNOTREG;
}

// What a screen reader reads: the annotation, else oleacc's name of the control (of tabs, the selected one).
std::wstring NameRead(C row)
{
    HWND item = Dlg().Item(row);
    wchar_t tab[64] = {};
    TCITEMW selected = {TCIF_TEXT, 0, 0, tab, 64, 0, 0};
    if (g_names.count(item)) return g_names[item];
    if (row == C::PageControl1 && SendMessageW(item, TCM_GETITEMW, Dlg().ActivePage(), reinterpret_cast<LPARAM>(&selected))) return tab;
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    VARIANT self = {};
    self.vt = VT_I4;  // CHILDID_SELF
    if (SUCCEEDED(AccessibleObjectFromWindow(item, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object)))) {
        object->get_accName(self, &name);
        object->Release();
    }
    std::wstring read = name ? name : L"";
    SysFreeString(name);
    return read;
}

TEST_F(OptionDialog, EveryControlInTabOrderHasANameWhateverTheHostsApartment)
{
    ImportPatch create(GetModuleHandleA(nullptr), "ole32.dll", "CoCreateInstance", reinterpret_cast<void*>(CreateStandIn));
    // Names for the controls whose label a reader cannot find; the others in tab order read their captions.
    const std::pair<C, const wchar_t*> expected[] = {{C::EdtBgbmpNml, L"通常"}, {C::EdtBgbmpIcn, L"最小化"}, {C::StcNmlBgColor, L"通常・背景色"},
        {C::StcNmlBorderColor, L"通常・境界色"}, {C::StcMinBgColor, L"最小化・背景色"}, {C::StcMinBorderColor, L"最小化・境界色"},
        {C::EdtWidth, L"幅"}, {C::LabelFontName, L"フォント MS UI Gothic"}, {C::LabelFontStyle, L"フォント 太字"},
        {C::LabelFontSize, L"フォント 11"}, {C::ShtKeyToggleEnable, L"有効/無効のトグル"}};
    const struct { const char* host; int apartment; bool service; } hosts[] = {{"no COM on the thread", -1, true},
        {"single-threaded apartment", COINIT_APARTMENTTHREADED, true}, {"multithreaded apartment", COINIT_MULTITHREADED, true},
        {"no annotation service", -1, false}};
    for (const auto& h : hosts) {
        g_names.clear();
        g_clearedAlive.clear();
        g_serviceThere = h.service;
        if (h.apartment >= 0) { ASSERT_EQ(S_OK, CoInitializeEx(nullptr, h.apartment)) << h.host; }
        RunDialog(Opened(h.host).Do("names", [&expected, &h] {
            if (!h.service) return;
            for (auto [row, name] : expected) EXPECT_EQ(name, NameRead(row)) << h.host << ": " << row;
            for (size_t r = 0; r < OKBottomDlgForm().count; ++r)
                if (OKBottomDlgForm().controls[r].tab >= 0 && OKBottomDlgForm().controls[r].kind != form::Kind::Group) { EXPECT_NE(L"", NameRead(C(r))) << h.host << ": " << C(r); }
            Dlg().SetText(C::LabelFontName, "Arial");
            EXPECT_EQ(L"フォント Arial", NameRead(C::LabelFontName)) << h.host << ": the name follows the font";
        }), C::OKBtn);
        EXPECT_EQ(g_names.size(), g_clearedAlive.size()) << h.host << ": every name cleared before its control went";
        if (h.apartment >= 0) CoUninitialize();
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED)) << h.host << ": COM left as the dialog found it";
        CoUninitialize();
    }
}

TEST_F(OptionDialog, PageKeysTurnThePageFromAnyControlAndNeverChangeTheShortcut)
{
    // Each key pressed twice from a control of the start page; after each press the focus
    // is on the tabs and the shortcut as the first row recorded it. A plain chord first.
    constexpr unsigned kCtrl = HOTKEYF_CONTROL, kCtrlShift = HOTKEYF_CONTROL | HOTKEYF_SHIFT;
    const struct { const char* keys; C from; int start; UINT vk; unsigned mods; } cases[] = {
        {"Ctrl+J recorded by the hot-key field", C::ShtKeyToggleEnable, 1, 'J', kCtrl},
        {"Ctrl+Tab", C::OKBtn, 0, VK_TAB, kCtrl}, {"Ctrl+Tab on the last page", C::OKBtn, 1, VK_TAB, kCtrl},
        {"Ctrl+PgUp on the first page", C::CancelBtn, 0, VK_PRIOR, kCtrl}, {"Ctrl+Shift+Tab", C::OKBtn, 1, VK_TAB, kCtrlShift},
        {"Ctrl+Tab in the width", C::EdtWidth, 0, VK_TAB, kCtrl}, {"Ctrl+Shift+Tab in the width", C::EdtWidth, 0, VK_TAB, kCtrlShift},
        {"Ctrl+PgDn in the width", C::EdtWidth, 0, VK_NEXT, kCtrl}, {"Ctrl+PgUp in the width", C::EdtWidth, 0, VK_PRIOR, kCtrl},
        {"Ctrl+Tab in the hot-key field", C::ShtKeyToggleEnable, 1, VK_TAB, kCtrl},
        {"Ctrl+Shift+Tab in the hot-key field", C::ShtKeyToggleEnable, 1, VK_TAB, kCtrlShift},
        {"Ctrl+PgDn recorded by the hot-key field", C::ShtKeyToggleEnable, 1, VK_NEXT, kCtrl},
        {"Ctrl+PgUp in the hot-key field", C::ShtKeyToggleEnable, 1, VK_PRIOR, kCtrl}};
    const WORD recorded = MAKEWORD('J', HOTKEYF_CONTROL);
    std::string seen;
    DialogScript script = Opened("page keys");
    for (const auto& c : cases) {
        const bool chord = c.vk == 'J';
        auto pressed = [&c, &seen, chord, recorded](int press) {
            return [&c, &seen, chord, recorded, press] {
                int page = chord ? c.start : (c.start + press) % 2;
                C focus = chord ? c.from : C::PageControl1;
                seen = std::string(c.keys) + " #" + std::to_string(press) + ": page " + std::to_string(Dlg().ActivePage()) +
                       ", focus on " + ControlName(OKBottomDlgForm(), int(FocusedRow())) + ", key " + std::to_string(HotKey());
                return !(GetAsyncKeyState(VK_CONTROL) & 0x8000) && Dlg().ActivePage() == page && FocusedRow() == focus &&
                       IsWindowVisible(Dlg().PageWindow(page)) && HotKey() == recorded;
            };
        };
        script.Do(std::string("type ") + c.keys, [&c] {
                  SetForegroundWindow(Dlg().Handle());
                  Dlg().SelectPage(c.start);
                  Dlg().Focus(c.from);
                  TypeKey(c.vk, c.mods);
              })
            .Then(c.keys, pressed(1));
        if (!chord) script.Do(std::string("again ") + c.keys, [&c] { TypeKey(c.vk, c.mods); }).Then(c.keys, pressed(2));
    }
    RunDialog(script, C::OKBtn);
    EXPECT_TRUE(script.Completed()) << "last seen: " << seen;
    EXPECT_STREQ("Ctrl+J", HintSettings.ToggleEnable) << "the page keys never change the shortcut";
}

}  // namespace
