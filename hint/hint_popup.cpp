#include "hint/hint_popup.h"

#include <cstring>

#include "hint/hint_font.h"
#include "hint/hint_wnd_mgr.h"
#include "plugin/records/globals.h"
#include "plugin/records/guard.h"
#include "plugin/records/module_state.h"
#include "support/dpi_awareness.h"
#include "support/owners.h"

namespace {

// The rounded corner's diameter at 100% (twice its radius), as CreateRoundRectRgn takes it.
constexpr int kCornerDiameter = 5;
constexpr COLORREF kColourMask = 0x00FFFFFF;

struct hint_colours_t {
    COLORREF border;
    COLORREF background;
    bool iconic;
};

// Colours and picture by the target's state at this paint.
hint_colours_t ColoursFor(HWND target, const hint_settings_t& s)
{
    if (IsIconic(target)) return {s.MinBorderColor, s.MinBgColor, true};
    return {s.NmlBorderColor, s.NmlBgColor, false};
}

// The kept picture stretched over the client area; false when there is none or it
// could not be drawn.
bool PaintPicture(HDC dc, const RECT& client, const hint_picture_t* picture)
{
    if (picture == nullptr) return false;
    MemoryDc memory(dc);
    Selection selected(memory.Get(), picture->bitmap);
    return StretchBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, picture->width, picture->height,
                      SRCCOPY) != FALSE;
}

// Every pixel of the shape is painted: the fill inside, the border along its edge on
// all four sides. Where the shape cannot be made, the client rectangle stands in.
void PaintBox(HDC dc, const RECT& client, const hint_colours_t& colours, UINT dpi)
{
    GdiObject<HBRUSH> fill(CreateSolidBrush(colours.background & kColourMask));
    GdiObject<HBRUSH> border(CreateSolidBrush(colours.border & kColourMask));
    GdiObject<HRGN> shape(MakeHintShape(client.right, client.bottom, dpi));
    if (!shape) shape.Reset(CreateRectRgn(0, 0, client.right, client.bottom));
    FillRgn(dc, shape.Get(), fill.Get());
    FrameRgn(dc, shape.Get(), border.Get(), 1, 1);
}

void PaintIconAndText(HDC dc, const RECT& client, const hint_face_t& hint, const hint_settings_t& s)
{
    bool showIcon = s.IsShowIcon != 0;
    hint_metrics_t m = HintMetricsFor(hint.m_dpi);
    if (showIcon && hint.m_icon) {
        // At the size it is shown: the system picks or scales the image once, and crisply.
        DrawIconEx(dc, m.margin, (client.bottom - m.iconSize) / 2, hint.m_icon, m.iconSize, m.iconSize, 0, nullptr,
                   DI_NORMAL);
    }
    GdiObject<HFONT> font = MakeHintFont(s, hint.m_dpi);
    Selection fontSelected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, s.FontColor);
    int x = showIcon ? m.textXWithIcon : m.margin;
    if (!hint.m_wideText.empty()) {
        TextOutW(dc, x, m.margin, hint.m_wideText.c_str(), static_cast<int>(hint.m_wideText.size()));
    } else {
        TextOutA(dc, x, m.margin, hint.m_text, static_cast<int>(strlen(hint.m_text)));
    }
}

// Drawn with the settings as they are at this paint: a popup repainted after the settings
// dialog's OK shows the new look at once.
void Paint(HWND hwnd, const hint_face_t& hint, const HintWndMgr& set)
{
    const hint_settings_t& s = set.Settings();
    PaintDc paint(hwnd);
    HDC dc = paint.Get();
    RECT client;
    GetClientRect(hwnd, &client);
    hint_colours_t colours = ColoursFor(hint.m_target, s);
    // A picture that could not be read or drawn gets the colour box, never whatever was on the screen.
    if (!s.IsUseBmp || !PaintPicture(dc, client, set.Picture(colours.iconic))) PaintBox(dc, client, colours, hint.m_dpi);
    PaintIconAndText(dc, client, hint, s);
}

}  // namespace

HINSTANCE HintInstance()
{
    // Test programs link the overlay without a module of its own.
    return g_hModule ? g_hModule : GetModuleHandleA(nullptr);
}

HRGN MakeHintShape(int width, int height, UINT dpi)
{
    // A round-rectangle region leaves out its right and bottom edges: one more each way
    // makes it cover the popup's last column and row.
    int corner = ScaledToDpi(kCornerDiameter, dpi);
    return CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
}

hint_metrics_t HintMetricsFor(UINT dpi) { return HintMetricsAt(dpi, SystemMetricForDpi(SM_CXSMICON, dpi)); }

ATOM RegisterHintClass(HINSTANCE instance, const char* i_classname)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = HintWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = i_classname;
    return RegisterClassExA(&wc);
}

LRESULT hint_face_t::OnMessage(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) const
{
    // Paints and clicks come from the host's message loop too, in the host's context.
    PerMonitorDpiScope perMonitor;
    switch (message) {
    case WM_CREATE:
    case WM_DESTROY: return 0;
    case WM_PAINT:
        Guarded(kHintWndProcName, [this, popup] { Paint(popup, *this, *m_set); });
        // A paint that failed part-way must still validate, or WM_PAINT comes back for ever.
        ValidateRect(popup, nullptr);
        return 0;
    case WM_LBUTTONDOWN:
        // This hint and its set may be gone when Bring returns (it says why): nothing of
        // them is touched after it.
        m_set->Bring(m_target);
        return 0;
    default: return DefWindowProcA(popup, message, wParam, lParam);
    }
}
