#include "dialogs/FormAboutBoxUnit.h"

#include <shellapi.h>

#include <cstring>
#include <iterator>
#include <string>

#include "plugin/records/module_state.h"
#include "support/app_info.h"
#include "support/bounded_text.h"
#include "support/owners.h"
#include "support/last_error.h"


namespace {

using C = AboutControl;
using form::Kind;
using form::On;
using form::Row;

constexpr char kCopyright[] = "Copyright (C) 2026 ZlvnHint";
constexpr char kWebAddress[] = "https://example.org/";
constexpr int kIconIndex = 72;

constexpr form::Control kControls[] = {
    // id, kind, parent, caption, left/top/width/height, tab, handler, flags
    Row(C::Panel1, Kind::Panel, C::None, nullptr, {8, 8, 201, 97}, 0),
    Row(C::ProgramIcon, Kind::Picture, C::Panel1, nullptr, {8, 8, 32, 32}, -1),
    Row(C::ProductName, Kind::Label, C::Panel1, "プロダクト名", {56, 8, 62, 12}, -1, nullptr, form::kAutoSize | form::kNoPrefix),
    Row(C::Version, Kind::Label, C::Panel1, "バージョン番号", {56, 24, 77, 12}, -1, nullptr, form::kAutoSize | form::kNoPrefix),
    Row(C::Copyright, Kind::Label, C::Panel1, kCopyright, {8, 56, 125, 12}, -1, nullptr, form::kAutoSize | form::kNoPrefix),
    Row(C::WebSite, Kind::Link, C::Panel1, kWebAddress, {8, 72, 148, 12}, -1, On<&TAboutBox::WebSiteClick>,
        form::kAutoSize | form::kWordWrap | form::kNoPrefix),
    Row(C::OKButton, Kind::Button, C::None, "OK", {71, 116, 75, 25}, 1, nullptr, form::kOkButton),
};

static_assert(std::size(kControls) == 0 ABOUT_BOX_CONTROLS(FORM_CONTROL_COUNT_ONE), "one row per control");
static_assert(form::InIdOrder(kControls), "rows in the order of their ids");

const form::Description kForm = {
    "バージョン情報", 223, 149, 96, "ＭＳ Ｐゴシック", 12, kControls, std::size(kControls),
};

constexpr int kPlaceholderWidth = 61, kPlaceholderHeight = 53;

// A plain 61 x 53 picture in 24-bit colour: a soft vertical blend with a frame.
GdiObject<HBITMAP> MakePlaceholder()
{
    const int w = kPlaceholderWidth, h = kPlaceholderHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return bitmap;
    const int stride = (w * 3 + 3) & ~3;
    unsigned char* row = static_cast<unsigned char*>(bits);
    for (int y = 0; y < h; ++y, row += stride) {
        for (int x = 0; x < w; ++x) {
            bool frame = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            unsigned char shade = static_cast<unsigned char>(frame ? 128 : 232 - y);
            row[x * 3 + 0] = frame ? shade : 240;  // blue
            row[x * 3 + 1] = shade;                // green
            row[x * 3 + 2] = shade;                // red
        }
    }
    return bitmap;
}

}  // namespace

Seam<const char*>& TAboutBox::IconFile()
{
    static Seam<const char*> file([] { return "%SystemRoot%\\system32\\SHELL32.dll"; });
    return file;
}

Seam<TAboutBox::open_address_t>& TAboutBox::AddressOpener()
{
    static Seam<open_address_t> open([] { return open_address_t(ShellExecuteA); });
    return open;
}

const form::Description& AboutBoxForm() { return kForm; }

TAboutBox::TAboutBox(HWND owner, const char* i_productname, HMODULE i_module)
    : FormOf(kForm), m_owner(owner), m_hmodule(i_module), m_placeholder(MakePlaceholder())
{
    memset(m_productname, 0, sizeof m_productname);
    CopyText(m_productname, i_productname ? i_productname : "");
}

TAboutBox::~TAboutBox()
{
    FormHide();
}

void TAboutBox::FormShow()
{
    // The path names an environment variable, which the icon extraction does not
    // expand; and a failed extraction reports UINT_MAX, not 0, with garbage handles.
    FormHide();
    char file[260] = {};
    const char* iconFile = IconFile().Get();
    DWORD expanded = ExpandEnvironmentStringsA(iconFile, file, sizeof file);
    if (expanded == 0 || expanded > sizeof file) CopyText(file, iconFile);
    HICON large = nullptr, small = nullptr;
    UINT count = ExtractIconExA(file, kIconIndex, &large, &small, 1);
    if (count != UINT_MAX && static_cast<int>(count) > 0) {
        m_iconlarge.Reset(large);
        m_iconsmall.Reset(small);
    }
    if (HWND picture = Item(C::ProgramIcon)) InvalidateRect(picture, nullptr, TRUE);

    SetText(C::ProductName, m_productname);

    std::string version;
    AppInfo info(m_hmodule);
    if (info.GetFileVersion(&version) < 0) {
        LastError failure;
        const char* message = failure.RecordedMessage();
        MessageBoxA(nullptr, message ? message : "", "ERROR", MB_OK);
        version.clear();
    }
    SetText(C::Version, version.c_str());

    CentreOnCursorMonitor();
}

void TAboutBox::FormHide()
{
    // The picture only borrows the large icon; each owner lets go before it destroys.
    m_iconsmall.Reset();
    m_iconlarge.Reset();
}

void TAboutBox::WebSiteClick()
{
    std::string address = Text(C::WebSite);
    AddressOpener().Get()(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW);
    SetModalResult(IDCANCEL);
}

void TAboutBox::DrawControl(AboutControl id, const DRAWITEMSTRUCT& item)
{
    if (id != C::ProgramIcon) return;
    RECT box = item.rcItem;
    int w = box.right - box.left, h = box.bottom - box.top;
    FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
    if (m_iconlarge) {
        DrawIconEx(item.hDC, box.left, box.top, m_iconlarge.Get(), w, h, 0, nullptr, DI_NORMAL);
    } else if (m_placeholder) {
        MemoryDc source(item.hDC);
        Selection shown(source.Get(), m_placeholder.Get());
        SetStretchBltMode(item.hDC, COLORONCOLOR);
        StretchBlt(item.hDC, box.left, box.top, w, h, source.Get(), 0, 0, kPlaceholderWidth, kPlaceholderHeight,
                   SRCCOPY);
    }
}
