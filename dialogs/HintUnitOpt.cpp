#include "dialogs/HintUnitOpt.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_rules.h"
#include "dialogs/form/high_contrast.h"
#include "dialogs/form/visual_styles.h"
#include "dialogs/picture_chooser.h"
#include "dialogs/shortcut_text.h"
#include "plugin/records/font_binder.h"
#include "plugin/records/globals.h"
#include "plugin/records/guard.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "plugin/records/window_of.h"
#include "support/bounded_text.h"
#include "support/dpi_awareness.h"
#include "support/owners.h"


namespace {

using C = OptionControl;
using form::Kind;
using form::On;
using form::Row;

constexpr int kDesignPpi = 120;
constexpr int kTextHeight = 15;  // design pixels

constexpr form::Control kControls[] = {
    // id, kind, parent, caption, left/top/width/height, tab, handler, flags, focus target
    Row(C::OKBtn, Kind::Button, C::None, "OK", {279, 477, 94, 31}, 0, On<&TOKBottomDlg::OKBtnClick>, form::kOkButton),
    Row(C::CancelBtn, Kind::Button, C::None, "キャンセル", {387, 477, 94, 31}, 1, nullptr, form::kCancelButton),
    Row(C::PageControl1, Kind::Tabs, C::None, nullptr, {8, 8, 473, 465}, 2),
    Row(C::TabSheet1, Kind::Page, C::PageControl1, "全般", {}, -1),
    Row(C::TabSheet2, Kind::Page, C::PageControl1, "ショートカットキー", {}, -1),

    Row(C::GrpPosition, Kind::Group, C::TabSheet1, "位置", {8, 4, 449, 101}, 0),
    Row(C::RdoPosTopLeft, Kind::Radio, C::GrpPosition, "各アプリの左上(&1)", {10, 20, 141, 21}, 0),
    Row(C::RdoPosTopCenter, Kind::Radio, C::GrpPosition, "各アプリの中央上(&2)", {154, 20, 159, 21}, 1),
    Row(C::RdoPosTopRight, Kind::Radio, C::GrpPosition, "各アプリの右上(&3)", {10, 44, 141, 21}, 2),
    Row(C::RdoPosCenter, Kind::Radio, C::GrpPosition, "各アプリの中央(&4)", {154, 44, 141, 21}, 3),
    Row(C::RdoPosDeskTopLeft, Kind::Radio, C::GrpPosition, "画面の左上(&5)", {314, 20, 119, 21}, 4),
    Row(C::ChkIsNoOver, Kind::Check, C::TabSheet1, "表示が重ならないようにする(&D)", {18, 72, 223, 25}, 1),

    Row(C::GrpBackground, Kind::Group, C::TabSheet1, "背景", {8, 120, 449, 97}, 2),
    Row(C::RdoUseImage, Kind::Radio, C::GrpBackground, "画像を使う", {8, 24, 113, 17}, 0, On<&TOKBottomDlg::RdoUseImageClick>),
    Row(C::RdoNotUseImage, Kind::Radio, C::GrpBackground, "画像を使わない", {8, 48, 137, 17}, 1, On<&TOKBottomDlg::RdoNotUseImageClick>),
    Row(C::GrpBgBmp, Kind::Group, C::GrpBackground, "背景画像", {136, 16, 305, 73}, 2),
    Row(C::Label8, Kind::Label, C::GrpBgBmp, "通常", {10, 16, 55, 25}, -1),
    Row(C::EdtBgbmpNml, Kind::Edit, C::GrpBgBmp, "EdtBgbmpNml", {64, 16, 161, 23}, 2),
    Row(C::BtnBgbmpNml, Kind::Button, C::GrpBgBmp, "参照(&N)", {232, 16, 67, 25}, 0, On<&TOKBottomDlg::BtnBgbmpNmlClick>),
    Row(C::Label7, Kind::Label, C::GrpBgBmp, "最小化", {10, 40, 55, 25}, -1),
    Row(C::EdtBgbmpIcn, Kind::Edit, C::GrpBgBmp, "EdtBgbmpIcn", {64, 40, 161, 23}, 3),
    Row(C::BtnBgbmpIcn, Kind::Button, C::GrpBgBmp, "参照(&I)", {232, 40, 67, 25}, 1, On<&TOKBottomDlg::BtnBgbmpIcnClick>),
    Row(C::GrpBgColor, Kind::Group, C::GrpBackground, "背景色", {136, 16, 305, 73}, 3),
    Row(C::Label2, Kind::Label, C::GrpBgColor, "通常・背景色", {10, 20, 83, 21}, -1),
    Row(C::StcNmlBgColor, Kind::Swatch, C::GrpBgColor, nullptr, {96, 21, 41, 20}, 0, On<&TOKBottomDlg::StcNmlBgColorClick>),
    Row(C::Label3, Kind::Label, C::GrpBgColor, "通常・境界色", {10, 40, 83, 21}, -1),
    Row(C::StcNmlBorderColor, Kind::Swatch, C::GrpBgColor, nullptr, {96, 41, 41, 20}, 1, On<&TOKBottomDlg::StcNmlBorderColorClick>),
    Row(C::Label5, Kind::Label, C::GrpBgColor, "最小化・背景色", {146, 20, 119, 21}, -1),
    Row(C::StcMinBgColor, Kind::Swatch, C::GrpBgColor, nullptr, {248, 21, 41, 20}, 2, On<&TOKBottomDlg::StcMinBgColorClick>),
    Row(C::Label4, Kind::Label, C::GrpBgColor, "最小化・境界色", {146, 40, 111, 21}, -1),
    Row(C::StcMinBorderColor, Kind::Swatch, C::GrpBgColor, nullptr, {248, 41, 41, 20}, 3, On<&TOKBottomDlg::StcMinBorderColorClick>),

    Row(C::GrpWidth, Kind::Group, C::TabSheet1, "ウィンドウ幅", {8, 232, 449, 57}, 3),
    // 4 px wider than 35, 4 short of the edit: "幅(W)" fits at 96, 120 and 144 ppi.
    Row(C::Label1, Kind::Label, C::GrpWidth, "幅(&W)", {16, 24, 39, 21}, -1, nullptr, 0, C::EdtWidth),
    Row(C::EdtWidth, Kind::Edit, C::GrpWidth, "EdtWidth", {60, 24, 61, 23}, 0),
    Row(C::Label6, Kind::Label, C::GrpWidth, "※0は表示文字に合わせたサイズ", {138, 26, 213, 15}, -1),

    Row(C::GrpText, Kind::Group, C::TabSheet1, "テキスト", {8, 300, 449, 53}, 4),
    Row(C::RdoTxtAlph, Kind::Radio, C::GrpText, "英字のみ(&A)", {20, 24, 101, 21}, 0),
    Row(C::RdoTxtFull, Kind::Radio, C::GrpText, "全表示文字(&T)", {156, 24, 121, 21}, 1),

    Row(C::LabelFontName, Kind::Label, C::TabSheet1, "フォント名が表示されます", {13, 367, 201, 26}, -1, nullptr, form::kCentreV | form::kNoPrefix),
    Row(C::LabelFontStyle, Kind::Label, C::TabSheet1, "スタイル", {228, 367, 75, 26}, -1, nullptr, form::kCentreV | form::kNoPrefix),
    // 5 px wider than 15, still inside its bevel: a two-digit size fits at 96, 120 and 144 ppi.
    Row(C::LabelFontSize, Kind::Label, C::TabSheet1, "xx", {315, 367, 20, 26}, -1, nullptr, form::kCentreV | form::kNoPrefix),
    Row(C::BevelFontName, Kind::Bevel, C::TabSheet1, nullptr, {10, 364, 206, 31}, -1),
    Row(C::BevelFontStyle, Kind::Bevel, C::TabSheet1, nullptr, {225, 364, 79, 31}, -1),
    Row(C::BevelFontSize, Kind::Bevel, C::TabSheet1, nullptr, {310, 364, 41, 31}, -1),
    Row(C::BtnFont, Kind::Button, C::TabSheet1, "フォント(&F)", {372, 368, 81, 25}, 6, On<&TOKBottomDlg::BtnFontClick>),
    Row(C::ChkIsShowIcon, Kind::Check, C::TabSheet1, "アイコンを表示する(&I)", {10, 406, 161, 21}, 5),

    Row(C::LblToggleEnable, Kind::Label, C::TabSheet2, "有効/無効のトグル(&T)", {8, 8, 145, 23}, -1, nullptr, 0, C::ShtKeyToggleEnable),
    Row(C::ShtKeyToggleEnable, Kind::HotKey, C::TabSheet2, nullptr, {168, 8, 121, 21}, 0),
};

static_assert(std::size(kControls) == 0 OPTION_DIALOG_CONTROLS(FORM_CONTROL_COUNT_ONE), "one row per control");
static_assert(form::InIdOrder(kControls), "rows in the order of their ids");

// The controls whose label is not the window before them (the tab order puts it
// elsewhere, or there is none), and the font boxes, which read as bare text.
constexpr char kFontPrefix[] = "フォント";
constexpr form::NamedRow kNames[] = {
    form::Named(C::EdtBgbmpNml, C::Label8), form::Named(C::EdtBgbmpIcn, C::Label7),
    form::Named(C::StcNmlBgColor, C::Label2), form::Named(C::StcNmlBorderColor, C::Label3),
    form::Named(C::StcMinBgColor, C::Label5), form::Named(C::StcMinBorderColor, C::Label4),
    form::Named(C::EdtWidth, C::Label1),
    form::Named(C::LabelFontName, C::LabelFontName, kFontPrefix),
    form::Named(C::LabelFontStyle, C::LabelFontStyle, kFontPrefix),
    form::Named(C::LabelFontSize, C::LabelFontSize, kFontPrefix),
    form::Named(C::ShtKeyToggleEnable, C::LblToggleEnable),
};

const form::Description kForm = {
    "ダイアログ", 493, 517, kDesignPpi, "ＭＳ Ｐゴシック", kTextHeight, kControls, std::size(kControls),
    kNames, std::size(kNames),
};

using D = DialogKind;

// Each key of the settings table, in its order, and the control that shows it.
constexpr key_control_t kKeyControls[] = {
    {D::None, C::None},                       // Enable: the menu's check mark shows it
    {D::RadioGroup, C::RdoPosTopLeft},        // Pos
    {D::RadioGroup, C::RdoTxtAlph},           // Contents
    {D::NumberField, C::EdtWidth},            // Width
    {D::RadioPair, C::RdoUseImage},           // IsUseBmp
    {D::ColourSwatch, C::StcNmlBorderColor},  // NmlBorderColor
    {D::ColourSwatch, C::StcNmlBgColor},      // NmlBgColor
    {D::ColourSwatch, C::StcMinBorderColor},  // MinBorderColor
    {D::ColourSwatch, C::StcMinBgColor},      // MinBgColor
    {D::TextField, C::EdtBgbmpNml},           // BgNormal
    {D::TextField, C::EdtBgbmpIcn},           // BgIconic
    {D::Font, C::LabelFontName},              // FontName
    {D::Font, C::LabelFontSize},              // FontSize
    {D::Font, C::LabelFontStyle},             // FontStyle
    {D::Font, C::LabelFontName},              // FontColor, the name's colour
    {D::CheckBox, C::ChkIsNoOver},            // IsNoOver
    {D::CheckBox, C::ChkIsShowIcon},          // IsShowIcon
    {D::HotKey, C::ShtKeyToggleEnable},       // ToggleEnable
};

// Whether the entry names a control of the dialog of the kind that shows its key, or none
// for a key the dialog does not show.
constexpr bool NamesItsControl(const key_control_t& key)
{
    const int row = form::RowOf(key.control);
    if (key.kind == D::None) return key.control == C::None;
    if (row < 0 || row >= static_cast<int>(std::size(kControls))) return false;
    const Kind shownIn = kControls[row].kind;
    switch (key.kind) {
    case D::CheckBox: return shownIn == Kind::Check;
    case D::RadioGroup:
    case D::RadioPair: return shownIn == Kind::Radio;
    case D::NumberField:
    case D::TextField: return shownIn == Kind::Edit;
    case D::ColourSwatch: return shownIn == Kind::Swatch;
    case D::HotKey: return shownIn == Kind::HotKey;
    case D::Font: return shownIn == Kind::Label;
    case D::None: break;
    }
    return false;
}

constexpr bool EveryKeyNamesItsControl()
{
    for (const key_control_t& key : kKeyControls)
        if (!NamesItsControl(key)) return false;
    return true;
}

static_assert(std::size(kKeyControls) == kSettingKeyCount, "one entry per key of the settings table");
static_assert(EveryKeyNamesItsControl(), "every key the dialog shows names a control of the dialog, of its kind");

// A radio group from its first button: it and the radio buttons after it in the same frame.
std::vector<C> RadioGroupFrom(C first)
{
    std::vector<C> group;
    for (int r = form::RowOf(first); r >= 0 && r < static_cast<int>(std::size(kControls)); ++r) {
        if (kControls[r].kind != Kind::Radio || kControls[r].parent != kControls[form::RowOf(first)].parent) break;
        group.push_back(static_cast<C>(r));
    }
    return group;
}

// The index of the page that holds a control, as SelectPage counts pages.
int PageIndexOf(C control)
{
    int page = form::PageOf(kForm, form::RowOf(control)), index = 0;
    for (int r = 0; r < page; ++r) index += kControls[r].kind == Kind::Page ? 1 : 0;
    return index;
}

constexpr char kFontHookName[] = "FontHook";

// The control's rules replace an invalid combination by Alt; Shift alone must keep
// its Shift (Shift+H becomes Shift+Alt+H), so that one case is finished here.
LRESULT HotKeyShiftMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The control takes a key both from its key-down and from the character after it.
    if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN && msg != WM_CHAR && msg != WM_SYSCHAR)
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    bool shiftAlone = (GetKeyState(VK_SHIFT) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000) &&
                      !(GetKeyState(VK_MENU) & 0x8000);
    LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (shiftAlone) {
        WORD key = static_cast<WORD>(SendMessageA(hwnd, HKM_GETHOTKEY, 0, 0));
        if (LOBYTE(key) != 0 && (HIBYTE(key) & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT)) == HOTKEYF_ALT)
            SendMessageA(hwnd, HKM_SETHOTKEY, MAKEWORD(LOBYTE(key), HIBYTE(key) | HOTKEYF_SHIFT | HOTKEYF_ALT), 0);
    }
    return result;
}

LRESULT CALLBACK HotKeyShiftRule(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    return Guarded("HotKeyShiftRule", LRESULT(0), [=] { return HotKeyShiftMessage(hwnd, msg, wParam, lParam); });
}

// 0 ends the enumeration: one face of the name is enough, and so is a failure.
int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    return Guarded("NoteFace", 0, [found] {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
    });
}

bool FaceListed(HDC dc, const char* face)
{
    if (face[0] == '\0') return false;
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    CopyText(query.lfFaceName, face);
    bool found = false;
    EnumFontFamiliesExA(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The font chooser selects only a face it lists; for any other (not installed, or
// empty) it opens on its first entry, a vertical "@" face, with neither size nor
// style. Such a face gives way to the one the system draws in its place.
void OpenOnListedFace(LOGFONTA* font)
{
    WindowDc screen(nullptr);
    if (FaceListed(screen.Get(), font->lfFaceName)) return;
    char drawn[LF_FACESIZE] = {};
    {
        GdiObject<HFONT> made(CreateFontIndirectA(font));
        Selection selected(screen.Get(), made.Get());
        GetTextFaceA(screen.Get(), sizeof drawn, drawn);
    }
    if (FaceListed(screen.Get(), drawn)) CopyText(font->lfFaceName, drawn);
}

}  // namespace

const form::Description& OKBottomDlgForm() { return kForm; }

const key_control_t& KeyControlOf(const setting_key_t& k) { return kKeyControls[&k - kSettingKeys]; }

TOKBottomDlg::TOKBottomDlg(HWND owner) : FormOf(kForm), m_owner(owner)
{
    for (COLORREF& c : m_customColours) c = RGB(255, 255, 255);
}

TOKBottomDlg::~TOKBottomDlg() = default;

void TOKBottomDlg::FormCreate()
{
    // A key alone or with Shift alone would steal ordinary typing: the field adds Alt.
    SendMessageA(Item(C::ShtKeyToggleEnable), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
    SetWindowSubclass(Item(C::ShtKeyToggleEnable), HotKeyShiftRule, 0, 0);
    Fill();
}

void TOKBottomDlg::FormDestroy()
{
    RemoveWindowSubclass(Item(C::ShtKeyToggleEnable), HotKeyShiftRule, 0);
    // The label must not keep a font that goes with the dialog object.
    if (HWND label = Item(C::LabelFontName)) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
}

// The name label's font follows the form's to the new DPI.
void TOKBottomDlg::FormDpiChanged() { ApplyNameFont(); }

LONG TOKBottomDlg::TextHeight() const { return -MulDiv(kTextHeight, Ppi(), kDesignPpi); }

void TOKBottomDlg::Fill()
{
    for (const setting_key_t& k : kSettingKeys) FillSetting(k, HintSettings);
    ShowFont();
}

void TOKBottomDlg::FillSetting(const setting_key_t& k, const hint_settings_t& s)
{
    const key_control_t& shown = KeyControlOf(k);
    const C control = shown.control;
    switch (shown.kind) {
    case DialogKind::CheckBox: SetChecked(control, SettingField<int>(s, k) != 0); return;
    case DialogKind::RadioGroup: {
        int value = 0;
        for (C radio : RadioGroupFrom(control)) FillChoice(radio, SettingField<int>(s, k) == value++);
        return;
    }
    case DialogKind::RadioPair: {
        const std::vector<C> pair = RadioGroupFrom(control);
        FillChoice(pair.at(0), SettingField<int>(s, k) != 0);
        FillChoice(pair.at(1), SettingField<int>(s, k) == 0);
        return;
    }
    case DialogKind::NumberField: {
        char number[16];
        FormatText(number, sizeof number, "%d", SettingField<int>(s, k));
        SetText(control, number);
        return;
    }
    case DialogKind::TextField: SetText(control, &SettingField<char>(s, k)); return;
    case DialogKind::ColourSwatch: SetSwatchColour(control, SettingField<COLORREF>(s, k)); return;
    case DialogKind::HotKey: {
        shortcut_t key = ParseShortcut(&SettingField<char>(s, k));
        SendMessageA(Item(control), HKM_SETHOTKEY, MAKEWORD(key.vk, key.vk ? key.mods : 0), 0);
        return;
    }
    case DialogKind::Font: CopySetting(k, s, m_working); return;
    case DialogKind::None: return;
    }
}

// A radio button filled checked does what a click on it does (the background mode shows
// its group).
void TOKBottomDlg::FillChoice(C radio, bool checked)
{
    SetChecked(radio, checked);
    if (form::Handler click = kControls[form::RowOf(radio)].handler; checked && click) click(*this);
}

void TOKBottomDlg::ShowFont()
{
    ApplyNameFont();
    SetText(C::LabelFontName, m_working.FontName);
    char number[16];
    FormatText(number, sizeof number, "%d", m_working.FontSize);
    SetText(C::LabelFontSize, number);
    SetText(C::LabelFontStyle, StyleText(m_working.FontStyle.Bold != 0, m_working.FontStyle.Italic != 0));
}

// All or nothing: the controls go into a copy, which replaces the record only once every
// value is taken. The numbers are the values that can be refused: they are taken first,
// so that a refusal loses none of the user's other edits.
void TOKBottomDlg::OKBtnClick()
{
    hint_settings_t s = HintSettings;
    for (const setting_key_t& k : kSettingKeys)
        if (KeyControlOf(k).kind == DialogKind::NumberField && !TakeNumber(k, s)) return;
    for (const setting_key_t& k : kSettingKeys) StoreSetting(k, s);
    HintSettings = s;
}

bool TOKBottomDlg::TakeNumber(const setting_key_t& k, hint_settings_t& s)
{
    const C field = KeyControlOf(k).control;
    std::string text = Text(field);
    if (TextToInt(text.c_str(), &SettingField<int>(s, k))) return true;
    char message[1024];
    FormatText(message, sizeof message, "'%s' は整数ではありません.", text.c_str());
    MessageBoxA(Handle(), message, kPluginName, MB_OK | MB_ICONERROR);
    SelectPage(PageIndexOf(field));
    Focus(field);
    SendMessageA(Item(field), EM_SETSEL, 0, -1);
    SetModalResult(0);
    return false;
}

void TOKBottomDlg::StoreSetting(const setting_key_t& k, hint_settings_t& s)
{
    const key_control_t& shown = KeyControlOf(k);
    const C control = shown.control;
    switch (shown.kind) {
    case DialogKind::CheckBox:
    case DialogKind::RadioPair: SettingField<int>(s, k) = Checked(control) ? 1 : 0; return;
    case DialogKind::RadioGroup: {
        int value = 0;
        for (C radio : RadioGroupFrom(control)) {
            if (Checked(radio)) {
                SettingField<int>(s, k) = value;
                return;
            }
            ++value;
        }
        return;  // none checked: the value no radio button stands for stays
    }
    case DialogKind::TextField: CopyText(&SettingField<char>(s, k), k.size, Text(control).c_str()); return;
    case DialogKind::ColourSwatch: SettingField<COLORREF>(s, k) = SwatchColour(control); return;
    case DialogKind::HotKey: {
        WORD hotkey = static_cast<WORD>(SendMessageA(Item(control), HKM_GETHOTKEY, 0, 0));
        shortcut_t key;
        key.vk = LOBYTE(hotkey);
        key.mods = HIBYTE(hotkey) & (kModShift | kModCtrl | kModAlt);
        memset(&SettingField<char>(s, k), 0, k.size);
        CopyText(&SettingField<char>(s, k), k.size, FormatShortcut(key).c_str());
        return;
    }
    case DialogKind::Font: CopySetting(k, m_working, s); return;
    case DialogKind::None:
    case DialogKind::NumberField: return;  // taken first
    }
}

void TOKBottomDlg::RdoUseImageClick()
{
    SetVisible(C::GrpBgBmp, true);
    SetVisible(C::GrpBgColor, false);
}

void TOKBottomDlg::RdoNotUseImageClick()
{
    SetVisible(C::GrpBgBmp, false);
    SetVisible(C::GrpBgColor, true);
}

void TOKBottomDlg::ChooseSwatchColour(OptionControl swatch)
{
    PerMonitorDpiScope perMonitor;
    CHOOSECOLORA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = Handle();
    chooser.rgbResult = SwatchColour(swatch);
    chooser.lpCustColors = m_customColours;
    chooser.Flags = CC_RGBINIT;
    form::VisualStylesScope styles;
    if (ChooseColorA(&chooser)) SetSwatchColour(swatch, chooser.rgbResult);
}

void TOKBottomDlg::StcNmlBgColorClick() { ChooseSwatchColour(C::StcNmlBgColor); }
void TOKBottomDlg::StcNmlBorderColorClick() { ChooseSwatchColour(C::StcNmlBorderColor); }
void TOKBottomDlg::StcMinBgColorClick() { ChooseSwatchColour(C::StcMinBgColor); }
void TOKBottomDlg::StcMinBorderColorClick() { ChooseSwatchColour(C::StcMinBorderColor); }

// The name in its face and style at the dialog's own text height: the size shows only as
// the number.
void TOKBottomDlg::ApplyNameFont()
{
    LOGFONTA face = FontFromSettings(m_working, Ppi());
    face.lfHeight = TextHeight();
    face.lfCharSet = DEFAULT_CHARSET;
    GdiObject<HFONT> font(CreateFontIndirectA(&face));
    SendMessageA(Item(C::LabelFontName), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // The label has let go of the old one now.
    m_nameFontHandle = std::move(font);
}

UINT_PTR TOKBottomDlg::FontHookMessage(HWND hdlg, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && LOWORD(wParam) == psh3 && HIWORD(wParam) == BN_CLICKED) {
        LOGFONTA current = {};
        SendMessageA(hdlg, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&current));
        FontIntoSettings(current, form::ScreenPpi(), m_chooser);
        LRESULT colour = SendDlgItemMessageA(hdlg, cmb4, CB_GETITEMDATA,
                                             SendDlgItemMessageA(hdlg, cmb4, CB_GETCURSEL, 0, 0), 0);
        if (colour != CB_ERR) m_chooser.FontColor = static_cast<COLORREF>(colour);
        FontDialog1Apply();
        return TRUE;
    }
    return FALSE;
}

void TOKBottomDlg::BtnFontClick()
{
    m_chooser = m_working;

    PerMonitorDpiScope perMonitor;
    // The chooser turns heights into points by the screen DC's resolution, as this does.
    LOGFONTA font = FontFromSettings(m_chooser, form::ScreenPpi());
    font.lfCharSet = DEFAULT_CHARSET;
    OpenOnListedFace(&font);
    CHOOSEFONTA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = Handle();
    chooser.lpLogFont = &font;
    chooser.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_APPLY | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT;
    chooser.rgbColors = m_chooser.FontColor;
    chooser.lCustData = reinterpret_cast<LPARAM>(this);
    chooser.lpfnHook = WindowOf<TOKBottomDlg, &TOKBottomDlg::FontHookMessage, kFontHookName>::ChooserHook<CHOOSEFONTA>;
    form::VisualStylesScope styles;
    if (ChooseFontA(&chooser)) {
        FontIntoSettings(font, form::ScreenPpi(), m_chooser);
        m_chooser.FontColor = chooser.rgbColors;
    }
    // After a cancel this keeps the last applied font, or changes nothing.
    FontDialog1Apply();
}

void TOKBottomDlg::FontDialog1Apply()
{
    m_working = m_chooser;
    ShowFont();
}

void TOKBottomDlg::BrowsePicture(OptionControl edit)
{
    char file[MAX_PATH] = {};
    CopyText(file, Text(edit).c_str());
    if (ChoosePicture(Handle(), file, sizeof file)) SetText(edit, file);
}

void TOKBottomDlg::BtnBgbmpNmlClick() { BrowsePicture(C::EdtBgbmpNml); }
void TOKBottomDlg::BtnBgbmpIcnClick() { BrowsePicture(C::EdtBgbmpIcn); }

// The font boxes show the chosen font on a menu-coloured ground, the name in its colour;
// in high contrast both take the system's window pair, so that they can be read.
HBRUSH TOKBottomDlg::ControlColour(OptionControl id, HDC dc)
{
    if (id != C::LabelFontName && id != C::LabelFontStyle) return nullptr;
    bool contrast = form::HighContrastOn();
    int ground = contrast ? COLOR_WINDOW : COLOR_MENU;
    SetTextColor(dc, id == C::LabelFontName && !contrast ? m_working.FontColor : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(ground));
    return GetSysColorBrush(ground);
}
