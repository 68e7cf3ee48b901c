#include "tests/hint/hint_fixture.h"

#include <cstdio>
#include <cstring>

#include "hint/hint_set.h"
#include "hint/hint_wnd.h"
#include "host/zlvn_host.h"
#include "plugin/hint_settings.h"
#include "plugin/lifecycle.h"
#include "plugin/module_state.h"
#include "support/bounded_text.h"

namespace {

const char kTargetClass[] = "HintTestTarget";

ATOM RegisterTargetClass()
{
    static ATOM atom = [] {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = kTargetClass;
        return RegisterClassExA(&wc);
    }();
    return atom;
}


}  // namespace

SIZE TextExtentIn(HFONT (*makeFont)(HDC), const char* text)
{
    HDC dc = GetDC(nullptr);
    HFONT font = makeFont(dc);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return extent;
}

void Settle(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

HWND MakeTarget(const RECT& r, const char* title, HICON smallIcon, HWND owner, DWORD exStyle)
{
    RegisterTargetClass();
    // Without a caption the window is not handed to an X window manager, so Wine does not
    // wait for one (there is none under Xvfb) each time it hides or destroys the window.
    HWND hwnd = CreateWindowExA(exStyle, kTargetClass, title, WS_POPUP | WS_VISIBLE, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd && smallIcon) SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    return hwnd;
}

ScreenPixels::ScreenPixels(const RECT& area)
    : m_width(area.right - area.left), m_height(area.bottom - area.top),
      m_bits(static_cast<size_t>(m_width > 0 ? m_width : 0) * (m_height > 0 ? m_height : 0))
{
    if (m_bits.empty()) return;
    Dib32 dib(m_width, m_height);
    HDC screen = GetDC(nullptr);
    BitBlt(dib.Dc(), 0, 0, m_width, m_height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    memcpy(m_bits.data(), dib.Bits(), m_bits.size() * 4);
}

Dib32::Dib32(int w, int h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    m_dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    m_old = SelectObject(m_dc, m_dib);
}

Dib32::~Dib32()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_dib);
    DeleteDC(m_dc);
}

COLORREF ScreenPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    unsigned int p = m_bits[static_cast<size_t>(y) * m_width + x];  // 0x00RRGGBB in a DIB
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string ColourText(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof text, "rgb(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

void HintOverlay::SetUp()
{
    g_hModule = GetModuleHandleA(nullptr);
    zlvnhost::ResetHost();
    UseDefaultSettings();
    ResetLifecycle(true);
    g_hintShown = 0;
}

void HintOverlay::TearDown()
{
    DestroyHintWndMgr();
    for (HWND hwnd : m_targets) DestroyWindow(hwnd);
    m_targets.clear();
    Settle(10);
}

HWND HintOverlay::Target(const RECT& rect, const char* title, HICON smallIcon)
{
    HWND hwnd = MakeTarget(rect, title, smallIcon);
    m_targets.push_back(hwnd);
    return hwnd;
}

HintWnd* HintOverlay::Hint(HWND target) const
{
    return g_hintWndMgr ? g_hintWndMgr->FindByTarget(target) : nullptr;
}

RECT HintOverlay::PopupRect(HWND target) const
{
    RECT r = {};
    if (HintWnd* hint = Hint(target)) GetWindowRect(hint->m_hwnd, &r);
    return r;
}

RECT HintOverlay::WorkArea() const
{
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}
