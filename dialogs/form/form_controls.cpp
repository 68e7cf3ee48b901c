#include "dialogs/form/form_controls.h"

#include <commctrl.h>

#include "dialogs/form/high_contrast.h"
#include "plugin/records/window_of.h"
#include "support/owners.h"

namespace form {

namespace {

int g_swatchUsers;  // module-wide, as dialogs/globals.h says why

constexpr int kHighContrastFrame = 2;  // pixels
constexpr char kSwatchProcName[] = "SwatchProc";
constexpr char kTabsProcName[] = "TabsProc";

// A swatch's state: the colour it shows.
class Swatch {
public:
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HWND hwnd) const;
    COLORREF m_colour = 0;
};
using SwatchOf = WindowOf<Swatch, &Swatch::OnMessage, kSwatchProcName>;
using TabsOf = WindowOf<PageWindows, &PageWindows::OnTabsMessage, kTabsProcName>;

void ClickSwatch(HWND hwnd)
{
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

// In high contrast the colour stays (it is the setting) and a frame sets it off.
void FrameInWindowText(HDC dc, RECT rc)
{
    for (int i = 0; i < kHighContrastFrame; ++i) {
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWTEXT));
        InflateRect(&rc, -1, -1);
    }
}

void Swatch::Paint(HWND hwnd) const
{
    PaintDc paint(hwnd);
    HDC dc = paint.Get();
    RECT rc;
    GetClientRect(hwnd, &rc);
    {
        GdiObject<HBRUSH> fill(CreateSolidBrush(m_colour));
        FillRect(dc, &rc, fill.Get());
    }
    if (HighContrastOn()) FrameInWindowText(dc, rc);
    else DrawEdge(dc, &rc, BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
    if (GetFocus() == hwnd) {
        InflateRect(&rc, -3, -3);
        DrawFocusRect(dc, &rc);
    }
}

// A click is a press and a release inside the swatch, as on a button.
void ReleaseSwatchButton(HWND hwnd, LPARAM lParam)
{
    if (GetCapture() != hwnd) return;
    ReleaseCapture();
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (PtInRect(&rc, pt)) ClickSwatch(hwnd);
}

LRESULT Swatch::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kSwatchSetColour:
        m_colour = static_cast<COLORREF>(wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case kSwatchGetColour: return m_colour;
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        SetCapture(hwnd);
        return 0;
    case WM_LBUTTONUP: ReleaseSwatchButton(hwnd, lParam); return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE) ClickSwatch(hwnd);
        return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// The pages lie below the tab control in Z order (so that Tab reaches the tab strip
// before the page), so the control's painting must leave the shown page alone.
void ExcludeShownPage(HWND tabs, HDC dc, const std::vector<HWND>& pages)
{
    for (HWND page : pages) {
        if (!IsWindowVisible(page)) continue;
        RECT rc;
        GetWindowRect(page, &rc);
        MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&rc), 2);
        ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    }
}

}  // namespace

LRESULT PageWindows::OnTabsMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const std::vector<HWND>& pages = *this;
    switch (msg) {
    case WM_ERASEBKGND: {
        // The DC is the caller's: the clipping goes back as it came.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SavedDcState saved(dc);
        ExcludeShownPage(hwnd, dc, pages);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    case WM_PAINT: {
        if (wParam != 0) break;
        PaintDc paint(hwnd);
        ExcludeShownPage(hwnd, paint.Get(), pages);
        DefSubclassProc(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(paint.Get()), 0);
        return 0;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void UseSwatchClass()
{
    if (g_swatchUsers++ > 0) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SwatchOf::OwningWindowProc;
    wc.hInstance = CodeModule();
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    wc.lpszClassName = kSwatchClass;
    RegisterClassA(&wc);
}

void ReleaseSwatchClass()
{
    if (--g_swatchUsers == 0) UnregisterClassA(kSwatchClass, CodeModule());
}

void PageWindows::KeepUnpaintedBy(HWND tabs) { TabsOf::Subclass(tabs, this); }

HINSTANCE CodeModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CodeModule), &module);
    return module;
}

}  // namespace form
