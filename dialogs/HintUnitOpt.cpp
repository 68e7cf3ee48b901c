#include "dialogs/HintUnitOpt.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <memory>
#include <string>

#include "dialogs/dialog_rules.h"
#include "dialogs/shortcut_text.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "support/bounded_text.h"
#include "support/gdi_owner.h"


namespace {

using form::Kind;
using form::On;

constexpr int kDesignPpi = 120;
constexpr int kTextHeight = 15;  // design pixels

const form::Control kControls[] = {
    // name, kind, parent, caption, left/top/width/height, tab, handler, flags, focus target
    {"OKBtn", Kind::Button, nullptr, "OK", {279, 477, 94, 31}, 0, On(&TOKBottomDlg::OKBtnClick), form::kOkButton, nullptr},
    {"CancelBtn", Kind::Button, nullptr, "キャンセル", {387, 477, 94, 31}, 1, nullptr, form::kCancelButton, nullptr},
    {"PageControl1", Kind::Tabs, nullptr, nullptr, {8, 8, 473, 465}, 2, nullptr, 0, nullptr},
    {"TabSheet1", Kind::Page, "PageControl1", "全般", {}, -1, nullptr, 0, nullptr},
    {"TabSheet2", Kind::Page, "PageControl1", "ショートカットキー", {}, -1, nullptr, 0, nullptr},

    {"GrpPosition", Kind::Group, "TabSheet1", "位置", {8, 4, 449, 101}, 0, nullptr, 0, nullptr},
    {"RdoPosTopLeft", Kind::Radio, "GrpPosition", "各アプリの左上(&1)", {10, 20, 141, 21}, 0, nullptr, 0, nullptr},
    {"RdoPosTopCenter", Kind::Radio, "GrpPosition", "各アプリの中央上(&2)", {154, 20, 159, 21}, 1, nullptr, 0, nullptr},
    {"RdoPosTopRight", Kind::Radio, "GrpPosition", "各アプリの右上(&3)", {10, 44, 141, 21}, 2, nullptr, 0, nullptr},
    {"RdoPosCenter", Kind::Radio, "GrpPosition", "各アプリの中央(&4)", {154, 44, 141, 21}, 3, nullptr, 0, nullptr},
    {"RdoPosDeskTopLeft", Kind::Radio, "GrpPosition", "画面の左上(&5)", {314, 20, 119, 21}, 4, nullptr, 0, nullptr},
    {"ChkIsNoOver", Kind::Check, "TabSheet1", "表示が重ならないようにする(&D)", {18, 72, 223, 25}, 1, nullptr, 0, nullptr},

    {"GrpBackground", Kind::Group, "TabSheet1", "背景", {8, 120, 449, 97}, 2, nullptr, 0, nullptr},
    {"RdoUseImage", Kind::Radio, "GrpBackground", "画像を使う", {8, 24, 113, 17}, 0, On(&TOKBottomDlg::RdoUseImageClick), 0, nullptr},
    {"RdoNotUseImage", Kind::Radio, "GrpBackground", "画像を使わない", {8, 48, 137, 17}, 1, On(&TOKBottomDlg::RdoNotUseImageClick), 0, nullptr},
    {"GrpBgBmp", Kind::Group, "GrpBackground", "背景画像", {136, 16, 305, 73}, 2, nullptr, 0, nullptr},
    {"Label8", Kind::Label, "GrpBgBmp", "通常", {10, 16, 55, 25}, -1, nullptr, 0, nullptr},
    {"EdtBgbmpNml", Kind::Edit, "GrpBgBmp", "EdtBgbmpNml", {64, 16, 161, 23}, 2, nullptr, 0, nullptr},
    {"BtnBgbmpNml", Kind::Button, "GrpBgBmp", "参照(&N)", {232, 16, 67, 25}, 0, On(&TOKBottomDlg::BtnBgbmpNmlClick), 0, nullptr},
    {"Label7", Kind::Label, "GrpBgBmp", "最小化", {10, 40, 55, 25}, -1, nullptr, 0, nullptr},
    {"EdtBgbmpIcn", Kind::Edit, "GrpBgBmp", "EdtBgbmpIcn", {64, 40, 161, 23}, 3, nullptr, 0, nullptr},
    {"BtnBgbmpIcn", Kind::Button, "GrpBgBmp", "参照(&I)", {232, 40, 67, 25}, 1, On(&TOKBottomDlg::BtnBgbmpIcnClick), 0, nullptr},
    {"GrpBgColor", Kind::Group, "GrpBackground", "背景色", {136, 16, 305, 73}, 3, nullptr, 0, nullptr},
    {"Label2", Kind::Label, "GrpBgColor", "通常・背景色", {10, 20, 83, 21}, -1, nullptr, 0, nullptr},
    {"StcNmlBgColor", Kind::Swatch, "GrpBgColor", nullptr, {96, 21, 41, 20}, 0, On(&TOKBottomDlg::StcNmlBgColorClick), 0, nullptr},
    {"Label3", Kind::Label, "GrpBgColor", "通常・境界色", {10, 40, 83, 21}, -1, nullptr, 0, nullptr},
    {"StcNmlBorderColor", Kind::Swatch, "GrpBgColor", nullptr, {96, 41, 41, 20}, 1, On(&TOKBottomDlg::StcNmlBorderColorClick), 0, nullptr},
    {"Label5", Kind::Label, "GrpBgColor", "最小化・背景色", {146, 20, 119, 21}, -1, nullptr, 0, nullptr},
    {"StcMinBgColor", Kind::Swatch, "GrpBgColor", nullptr, {248, 21, 41, 20}, 2, On(&TOKBottomDlg::StcMinBgColorClick), 0, nullptr},
    {"Label4", Kind::Label, "GrpBgColor", "最小化・境界色", {146, 40, 111, 21}, -1, nullptr, 0, nullptr},
    {"StcMinBorderColor", Kind::Swatch, "GrpBgColor", nullptr, {248, 41, 41, 20}, 3, On(&TOKBottomDlg::StcMinBorderColorClick), 0, nullptr},

    {"GrpWidth", Kind::Group, "TabSheet1", "ウィンドウ幅", {8, 232, 449, 57}, 3, nullptr, 0, nullptr},
    // 4 px wider than 35, 4 short of the edit: "幅(W)" fits at 96, 120 and 144 ppi.
    {"Label1", Kind::Label, "GrpWidth", "幅(&W)", {16, 24, 39, 21}, -1, nullptr, 0, "EdtWidth"},
    {"EdtWidth", Kind::Edit, "GrpWidth", "EdtWidth", {60, 24, 61, 23}, 0, nullptr, 0, nullptr},
    {"Label6", Kind::Label, "GrpWidth", "※0は表示文字に合わせたサイズ", {138, 26, 213, 15}, -1, nullptr, 0, nullptr},

    {"GrpText", Kind::Group, "TabSheet1", "テキスト", {8, 300, 449, 53}, 4, nullptr, 0, nullptr},
    {"RdoTxtAlph", Kind::Radio, "GrpText", "英字のみ(&A)", {20, 24, 101, 21}, 0, nullptr, 0, nullptr},
    {"RdoTxtFull", Kind::Radio, "GrpText", "全表示文字(&T)", {156, 24, 121, 21}, 1, nullptr, 0, nullptr},

    {"LabelFontName", Kind::Label, "TabSheet1", "フォント名が表示されます", {13, 367, 201, 26}, -1, nullptr, form::kCentreV | form::kNoPrefix, nullptr},
    {"LabelFontStyle", Kind::Label, "TabSheet1", "スタイル", {228, 367, 75, 26}, -1, nullptr, form::kCentreV | form::kNoPrefix, nullptr},
    // 5 px wider than 15, still inside its bevel: a two-digit size fits at 96, 120 and 144 ppi.
    {"LabelFontSize", Kind::Label, "TabSheet1", "xx", {315, 367, 20, 26}, -1, nullptr, form::kCentreV | form::kNoPrefix, nullptr},
    {"BevelFontName", Kind::Bevel, "TabSheet1", nullptr, {10, 364, 206, 31}, -1, nullptr, 0, nullptr},
    {"BevelFontStyle", Kind::Bevel, "TabSheet1", nullptr, {225, 364, 79, 31}, -1, nullptr, 0, nullptr},
    {"BevelFontSize", Kind::Bevel, "TabSheet1", nullptr, {310, 364, 41, 31}, -1, nullptr, 0, nullptr},
    {"BtnFont", Kind::Button, "TabSheet1", "フォント(&F)", {372, 368, 81, 25}, 6, On(&TOKBottomDlg::BtnFontClick), 0, nullptr},
    {"ChkIsShowIcon", Kind::Check, "TabSheet1", "アイコンを表示する(&I)", {10, 406, 161, 21}, 5, nullptr, 0, nullptr},

    {"LblToggleEnable", Kind::Label, "TabSheet2", "有効/無効のトグル(&T)", {8, 8, 145, 23}, -1, nullptr, 0, "ShtKeyToggleEnable"},
    {"ShtKeyToggleEnable", Kind::HotKey, "TabSheet2", nullptr, {168, 8, 121, 21}, 0, nullptr, 0, nullptr},
};

const form::Description kForm = {
    "ダイアログ", 493, 517, kDesignPpi, "ＭＳ Ｐゴシック", kTextHeight, kControls, sizeof kControls / sizeof kControls[0],
};

const char* const kPositionRadios[] = {"RdoPosTopLeft", "RdoPosTopCenter", "RdoPosTopRight", "RdoPosCenter",
                                       "RdoPosDeskTopLeft"};

constexpr char kChooserProp[] = "ZlvnFontDlg";
constexpr char kPreviewProp[] = "ZlvnPreview";
constexpr int kPreviewId = 1200;

// The control's rules replace an invalid combination by Alt; Shift alone must keep
// its Shift (Shift+H becomes Shift+Alt+H), so that one case is finished here.
LRESULT CALLBACK HotKeyShiftRule(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
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

int PointsFromHeight(LONG height)
{
    return MulDiv(height < 0 ? -height : height, 72, form::ScreenPpi());
}

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
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

// The picture chooser's extra part: a frame with the selected bitmap, scaled to fit.
UINT_PTR CALLBACK PreviewHook(HWND hdlg, UINT msg, WPARAM, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY: {
        const OFNOTIFYA* note = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (note->hdr.code != static_cast<UINT>(CDN_SELCHANGE)) break;
        char path[MAX_PATH] = {};
        SendMessageA(GetParent(hdlg), CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        GdiObject<HBITMAP> picture(
            static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        // The property owns the shown picture; the one it replaces is deleted here.
        GdiObject<HBITMAP> old(static_cast<HBITMAP>(GetPropA(hdlg, kPreviewProp)));
        SetPropA(hdlg, kPreviewProp, picture.Release());
        InvalidateRect(GetDlgItem(hdlg, kPreviewId), nullptr, FALSE);
        break;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        RECT box = item->rcItem;
        FillRect(item->hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
        HBITMAP picture = reinterpret_cast<HBITMAP>(GetPropA(hdlg, kPreviewProp));
        BITMAP info;
        if (picture && GetObjectA(picture, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
            int boxW = box.right - box.left, boxH = box.bottom - box.top;
            int w = info.bmWidth, h = info.bmHeight;
            if (w > boxW || h > boxH) {
                // Shrink to fit, keeping the picture's proportions.
                if (static_cast<long long>(w) * boxH > static_cast<long long>(h) * boxW) {
                    h = MulDiv(h, boxW, w);
                    w = boxW;
                } else {
                    w = MulDiv(w, boxH, h);
                    h = boxH;
                }
            }
            MemoryDc source(item->hDC);
            Selection shown(source.Get(), picture);
            SetStretchBltMode(item->hDC, HALFTONE);
            StretchBlt(item->hDC, box.left + (boxW - w) / 2, box.top + (boxH - h) / 2, w, h, source.Get(), 0, 0,
                       info.bmWidth, info.bmHeight, SRCCOPY);
        }
        DrawEdge(item->hDC, &box, BDR_SUNKENOUTER, BF_RECT);
        return TRUE;
    }
    case WM_DESTROY: {
        GdiObject<HBITMAP> shown(static_cast<HBITMAP>(RemovePropA(hdlg, kPreviewProp)));  // deleted here
        break;
    }
    default:
        break;
    }
    return 0;
}

// The preview part's template, in fixed memory as the chooser wants a memory handle.
HGLOBAL PreviewTemplate()
{
    form::TemplateWriter tmpl(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_CONTROL | DS_3DLOOK, 0, 200, 104, "");
    tmpl.Add(kPreviewId - 1, 0x0080, nullptr, "プレビュー", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 7, 0, 186, 100);
    tmpl.Add(kPreviewId, 0x0082, nullptr, "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 14, 12, 172, 82);
    HGLOBAL memory = GlobalAlloc(GMEM_FIXED, tmpl.Size());
    if (memory) memcpy(memory, tmpl.Get(), tmpl.Size());
    return memory;
}

}  // namespace

const form::Description& OKBottomDlgForm() { return kForm; }

TOKBottomDlg::TOKBottomDlg(HWND owner) : Form(kForm), m_owner(owner)
{
    for (COLORREF& c : m_customColors) c = RGB(255, 255, 255);
}

TOKBottomDlg::~TOKBottomDlg() = default;

void TOKBottomDlg::FormCreate()
{
    // A key alone or with Shift alone would steal ordinary typing: the field adds Alt.
    SendMessageA(Item("ShtKeyToggleEnable"), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
    SetWindowSubclass(Item("ShtKeyToggleEnable"), HotKeyShiftRule, 0, 0);
    Fill();
}

void TOKBottomDlg::FormDestroy()
{
    RemoveWindowSubclass(Item("ShtKeyToggleEnable"), HotKeyShiftRule, 0);
    // The label must not keep a font that goes with the dialog object.
    if (HWND label = Item("LabelFontName")) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
}

void TOKBottomDlg::Fill()
{
    const hint_settings_t& s = HintSettings;
    char number[16];

    for (int i = 0; i < 5; ++i) SetChecked(kPositionRadios[i], s.Pos == i);
    SetBackgroundMode(s.IsUseBmp != 0);
    SetText("EdtBgbmpNml", s.BgNormal);
    SetText("EdtBgbmpIcn", s.BgIconic);
    SetSwatchColor("StcNmlBgColor", s.NmlBgColor);
    SetSwatchColor("StcNmlBorderColor", s.NmlBorderColor);
    SetSwatchColor("StcMinBgColor", s.MinBgColor);
    SetSwatchColor("StcMinBorderColor", s.MinBorderColor);

    memset(&m_nameFont, 0, sizeof m_nameFont);
    m_nameFont.lfHeight = -MulDiv(kTextHeight, Ppi(), kDesignPpi);
    m_nameFont.lfCharSet = DEFAULT_CHARSET;
    CopyText(m_nameFont.lfFaceName, s.FontName);
    m_nameFont.lfWeight = s.FontStyle.Bold ? FW_BOLD : FW_NORMAL;
    m_nameFont.lfItalic = s.FontStyle.Italic ? 1 : 0;
    m_nameFont.lfUnderline = s.FontStyle.Underline ? 1 : 0;
    m_nameFont.lfStrikeOut = s.FontStyle.StrikeOut ? 1 : 0;
    m_fontColor = s.FontColor;
    SetText("LabelFontName", s.FontName);
    ApplyNameFont();

    FormatText(number, sizeof number, "%d", s.FontSize);
    SetText("LabelFontSize", number);
    SetText("LabelFontStyle", StyleText(m_nameFont.lfWeight >= FW_BOLD, m_nameFont.lfItalic != 0));
    FormatText(number, sizeof number, "%d", s.Width);
    SetText("EdtWidth", number);
    SetChecked("ChkIsNoOver", s.IsNoOver != 0);
    SetChecked("RdoTxtAlph", s.Contents == 0);
    SetChecked("RdoTxtFull", s.Contents == 1);
    SetChecked("ChkIsShowIcon", s.IsShowIcon != 0);

    shortcut_t key = ParseShortcut(s.ToggleEnable);
    SendMessageA(Item("ShtKeyToggleEnable"), HKM_SETHOTKEY, MAKEWORD(key.vk, key.vk ? key.mods : 0), 0);
}

void TOKBottomDlg::OKBtnClick()
{
    // The width is the one value that can be refused: check it before anything is
    // stored, so that a refusal loses none of the user's other edits.
    std::string widthText = Text("EdtWidth");
    int width = 0;
    if (!TextToInt(widthText.c_str(), &width)) {
        char message[1024];
        FormatText(message, sizeof message, "'%s' は整数ではありません.", widthText.c_str());
        MessageBoxA(Handle(), message, kPluginName, MB_OK | MB_ICONERROR);
        SelectPage(0);
        Focus("EdtWidth");
        SendMessageA(Item("EdtWidth"), EM_SETSEL, 0, -1);
        SetModalResult(0);
        return;
    }

    hint_settings_t& s = HintSettings;
    for (int i = 0; i < 5; ++i) {
        if (Checked(kPositionRadios[i])) {
            s.Pos = i;
            break;
        }
    }
    s.Width = width;
    s.IsNoOver = Checked("ChkIsNoOver") ? 1 : 0;
    s.IsUseBmp = Checked("RdoUseImage") ? 1 : 0;
    CopyText(s.BgNormal, Text("EdtBgbmpNml").c_str());
    CopyText(s.BgIconic, Text("EdtBgbmpIcn").c_str());
    CopyText(s.FontName, m_nameFont.lfFaceName);
    s.FontColor = m_fontColor;
    s.FontSize = TextToIntDef(Text("LabelFontSize").c_str(), 9);
    s.FontStyle.Bold = m_nameFont.lfWeight >= FW_BOLD ? 1 : 0;
    s.FontStyle.Italic = m_nameFont.lfItalic ? 1 : 0;
    s.FontStyle.Underline = m_nameFont.lfUnderline ? 1 : 0;
    s.FontStyle.StrikeOut = m_nameFont.lfStrikeOut ? 1 : 0;
    s.NmlBgColor = SwatchColor("StcNmlBgColor");
    s.NmlBorderColor = SwatchColor("StcNmlBorderColor");
    s.MinBgColor = SwatchColor("StcMinBgColor");
    s.MinBorderColor = SwatchColor("StcMinBorderColor");
    if (Checked("RdoTxtAlph")) s.Contents = 0;
    else if (Checked("RdoTxtFull")) s.Contents = 1;
    s.IsShowIcon = Checked("ChkIsShowIcon") ? 1 : 0;

    WORD hotkey = static_cast<WORD>(SendMessageA(Item("ShtKeyToggleEnable"), HKM_GETHOTKEY, 0, 0));
    shortcut_t key;
    key.vk = LOBYTE(hotkey);
    key.mods = HIBYTE(hotkey) & (kModShift | kModCtrl | kModAlt);
    memset(s.ToggleEnable, 0, sizeof s.ToggleEnable);
    CopyText(s.ToggleEnable, FormatShortcut(key).c_str());
}

void TOKBottomDlg::SetBackgroundMode(bool pictures)
{
    SetChecked("RdoUseImage", pictures);
    SetChecked("RdoNotUseImage", !pictures);
    SetVisible("GrpBgBmp", pictures);
    SetVisible("GrpBgColor", !pictures);
}

void TOKBottomDlg::RdoUseImageClick()
{
    SetVisible("GrpBgBmp", true);
    SetVisible("GrpBgColor", false);
}

void TOKBottomDlg::RdoNotUseImageClick()
{
    SetVisible("GrpBgBmp", false);
    SetVisible("GrpBgColor", true);
}

void TOKBottomDlg::ChooseSwatchColor(const char* swatch)
{
    CHOOSECOLORA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = Handle();
    chooser.rgbResult = SwatchColor(swatch);
    chooser.lpCustColors = m_customColors;
    chooser.Flags = CC_RGBINIT;
    if (ChooseColorA(&chooser)) SetSwatchColor(swatch, chooser.rgbResult);
}

void TOKBottomDlg::StcNmlBgColorClick() { ChooseSwatchColor("StcNmlBgColor"); }
void TOKBottomDlg::StcNmlBorderColorClick() { ChooseSwatchColor("StcNmlBorderColor"); }
void TOKBottomDlg::StcMinBgColorClick() { ChooseSwatchColor("StcMinBgColor"); }
void TOKBottomDlg::StcMinBorderColorClick() { ChooseSwatchColor("StcMinBorderColor"); }

void TOKBottomDlg::ApplyNameFont()
{
    GdiObject<HFONT> font(CreateFontIndirectA(&m_nameFont));
    SendMessageA(Item("LabelFontName"), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // The label has let go of the old one now.
    m_nameFontHandle.Reset(font.Release());
}

UINT_PTR CALLBACK TOKBottomDlg::FontHook(HWND hdlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        SetPropA(hdlg, kChooserProp, reinterpret_cast<HANDLE>(reinterpret_cast<CHOOSEFONTA*>(lParam)->lCustData));
        return TRUE;
    }
    TOKBottomDlg* self = reinterpret_cast<TOKBottomDlg*>(GetPropA(hdlg, kChooserProp));
    if (msg == WM_DESTROY) RemovePropA(hdlg, kChooserProp);
    if (self && msg == WM_COMMAND && LOWORD(wParam) == psh3 && HIWORD(wParam) == BN_CLICKED) {
        LOGFONTA current = {};
        SendMessageA(hdlg, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&current));
        self->m_chooser.font = current;
        self->m_chooser.size = PointsFromHeight(current.lfHeight);
        LRESULT colour = SendDlgItemMessageA(hdlg, cmb4, CB_GETITEMDATA,
                                             SendDlgItemMessageA(hdlg, cmb4, CB_GETCURSEL, 0, 0), 0);
        if (colour != CB_ERR) self->m_chooser.color = static_cast<COLORREF>(colour);
        self->FontDialog1Apply();
        return TRUE;
    }
    return FALSE;
}

void TOKBottomDlg::BtnFontClick()
{
    m_chooser.font = m_nameFont;
    m_chooser.color = m_fontColor;
    m_chooser.size = TextToIntDef(Text("LabelFontSize").c_str(), 9);

    LOGFONTA font = m_chooser.font;
    font.lfHeight = -MulDiv(m_chooser.size, form::ScreenPpi(), 72);
    OpenOnListedFace(&font);
    CHOOSEFONTA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = Handle();
    chooser.lpLogFont = &font;
    chooser.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_APPLY | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT;
    chooser.rgbColors = m_chooser.color;
    chooser.lCustData = reinterpret_cast<LPARAM>(this);
    chooser.lpfnHook = FontHook;
    if (ChooseFontA(&chooser)) {
        m_chooser.font = font;
        m_chooser.color = chooser.rgbColors;
        m_chooser.size = PointsFromHeight(font.lfHeight);
    }
    // After a cancel this keeps the last applied font, or changes nothing.
    FontDialog1Apply();
}

void TOKBottomDlg::FontDialog1Apply()
{
    const LOGFONTA& chosen = m_chooser.font;
    CopyText(m_nameFont.lfFaceName, chosen.lfFaceName);
    m_nameFont.lfWeight = chosen.lfWeight >= FW_BOLD ? FW_BOLD : FW_NORMAL;
    m_nameFont.lfItalic = chosen.lfItalic ? 1 : 0;
    m_nameFont.lfUnderline = chosen.lfUnderline ? 1 : 0;
    m_nameFont.lfStrikeOut = chosen.lfStrikeOut ? 1 : 0;
    m_fontColor = m_chooser.color;
    ApplyNameFont();
    SetText("LabelFontName", m_nameFont.lfFaceName);
    char number[16];
    FormatText(number, sizeof number, "%d", m_chooser.size);
    SetText("LabelFontSize", number);
    SetText("LabelFontStyle", StyleText(m_nameFont.lfWeight >= FW_BOLD, m_nameFont.lfItalic != 0));
}

void TOKBottomDlg::BrowsePicture(const char* edit)
{
    char file[MAX_PATH] = {};
    CopyText(file, Text(edit).c_str());
    HGLOBAL preview = PreviewTemplate();
    OPENFILENAMEA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = Handle();
    chooser.lpstrFilter = "ビットマップ (*.bmp)\0*.bmp\0すべてのファイル (*.*)\0*.*\0";
    chooser.lpstrFile = file;
    chooser.nMaxFile = sizeof file;
    chooser.lpstrDefExt = "bmp";
    chooser.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_ENABLEHOOK |
                    (preview ? OFN_ENABLETEMPLATEHANDLE : 0);
    chooser.hInstance = reinterpret_cast<HINSTANCE>(preview);
    chooser.lpfnHook = PreviewHook;
    if (GetOpenFileNameA(&chooser)) SetText(edit, file);
    if (preview) GlobalFree(preview);
}

void TOKBottomDlg::BtnBgbmpNmlClick() { BrowsePicture("EdtBgbmpNml"); }
void TOKBottomDlg::BtnBgbmpIcnClick() { BrowsePicture("EdtBgbmpIcn"); }

HBRUSH TOKBottomDlg::CtlColor(int row, HDC dc)
{
    const char* name = kControls[row].name;
    bool fontName = strcmp(name, "LabelFontName") == 0;
    if (!fontName && strcmp(name, "LabelFontStyle") != 0) return nullptr;
    SetTextColor(dc, fontName ? m_fontColor : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_MENU));
    return GetSysColorBrush(COLOR_MENU);
}
