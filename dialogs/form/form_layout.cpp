// Placing a form's controls once the dialog manager has made them: design pixels
// scaled to the DPI of the form's monitor, fonts, the tab control's tabs and pages.
#include "dialogs/form/form.h"

#include <commctrl.h>

#include <stdexcept>

#include "dialogs/dialog_rules.h"
#include "dialogs/form/form_controls.h"
#include "support/dpi_awareness.h"
#include "support/geometry_win32.h"
#include "support/monitor_rect.h"
#include "support/proc_address.h"

namespace form {

namespace {

// The dialog manager of Windows 10 1703 on rescales a per-monitor dialog's frame, fonts
// and controls by itself when its DPI changes; the form does all of that itself.
void LeaveDpiChangesToTheForm(HWND dialog)
{
    using set_t = BOOL(WINAPI*)(HWND, DWORD, DWORD);
    static const set_t set = As<set_t>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetDialogDpiChangeBehavior"));
    constexpr DWORD kDisableAll = 1;  // DDC_DISABLE_ALL
    if (set) set(dialog, kDisableAll, kDisableAll);
}

RECT CursorMonitor()
{
    RECT monitor = {};
    MonitorRect().GetCursorMonitorRect(&monitor);
    return monitor;
}

}  // namespace

void Form::Build()
{
    LeaveDpiChangesToTheForm(m_hwnd);
    RECT monitor = CursorMonitor();
    m_ppi = static_cast<int>(DpiAtPoint({monitor.left + (monitor.right - monitor.left) / 2,
                                         monitor.top + (monitor.bottom - monitor.top) / 2}));
    // Onto its monitor before it is sized: there its frame has that monitor's DPI.
    PlaceCentredOn(monitor);
    MakeFonts();
    SizeFrame();
    PlaceCentredOn(monitor);
    m_pageWindows.clear();
    Layout();
    ShowPage(0);
}

// Every row at the form's DPI; the pages are made on the first layout.
void Form::Layout()
{
    for (size_t r = 0; r < m_desc.count; ++r) {
        if (m_desc.controls[r].kind == Kind::Page) PlacePage(static_cast<int>(r));
        else PlaceControl(static_cast<int>(r));
    }
    m_laidOut = true;
}

void Form::OnDpiChanged(int dpi, const RECT& suggested)
{
    // Build lays the form out at its monitor's DPI, wherever it was made.
    if (!m_laidOut || dpi <= 0) return;
    m_ppi = dpi;
    SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The controls keep the old fonts until they have the new ones.
    GdiObject<HFONT> oldFont = std::move(m_font), oldLinkFont = std::move(m_linkFont);
    MakeFonts();
    Layout();
    FormDpiChanged();
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::MakeFonts()
{
    if (m_font && m_fontPpi == m_ppi) return;
    int height = -MulDiv(m_desc.fontHeight, m_ppi, m_desc.designPpi);
    m_font.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, m_desc.fontFace));
    m_linkFont.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, TRUE, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, m_desc.fontFace));
    m_fontPpi = m_ppi;
}

// The design client size at the form's DPI, with the frame the window has there.
void Form::SizeFrame()
{
    RECT window = {}, client = {};
    GetWindowRect(m_hwnd, &window);
    GetClientRect(m_hwnd, &client);
    int w = MulDiv(m_desc.clientWidth, m_ppi, m_desc.designPpi) + (window.right - window.left) - client.right;
    int h = MulDiv(m_desc.clientHeight, m_ppi, m_desc.designPpi) + (window.bottom - window.top) - client.bottom;
    SetWindowPos(m_hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::PlaceCentredOn(const RECT& area)
{
    RECT box = {};
    GetWindowRect(m_hwnd, &box);
    pixel_point_t at = CentreOn(ToPixelRect(area), box.right - box.left, box.bottom - box.top);
    SetWindowPos(m_hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CentreOnCursorMonitor() { PlaceCentredOn(CursorMonitor()); }

// A page is a child dialog of its own over the tab control's display area.
void Form::PlacePage(int row)
{
    int tabs = m_desc.controls[row].parent;
    RECT area;
    GetClientRect(m_tabs, &area);
    SendMessageA(m_tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    OffsetRect(&area, m_bounds[tabs].left, m_bounds[tabs].top);
    m_bounds[row] = area;
    HWND page = m_items[row];
    if (page == nullptr) {
        size_t index = m_pageWindows.size();
        page = CreateDialogIndirectParamA(CodeModule(), m_templates[1 + index].Get(), m_hwnd, DialogProc,
                                          reinterpret_cast<LPARAM>(this));
        // Without its page (no handles left, a control class not registered) the form would
        // show empty fields and store them: it ends as Cancel instead.
        if (page == nullptr) throw std::runtime_error("a page of the form could not be made");
        LeaveDpiChangesToTheForm(page);
        m_items[row] = page;
        m_pageWindows.push_back(page);
    }
    SetWindowPos(page, m_tabs, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
}

void Form::PlaceControl(int row)
{
    const Control& c = m_desc.controls[row];
    POINT origin = {0, 0};
    if (c.parent >= 0 && m_desc.controls[c.parent].kind != Kind::Page)
        origin = {m_bounds[c.parent].left, m_bounds[c.parent].top};
    auto scale = [this](int v) { return MulDiv(v, m_ppi, m_desc.designPpi); };
    m_bounds[row] = {origin.x + scale(c.design.left), origin.y + scale(c.design.top),
                     origin.x + scale(c.design.left + c.design.width),
                     origin.y + scale(c.design.top + c.design.height)};
    int page = PageOf(m_desc, row);
    HWND item = GetDlgItem(page >= 0 ? m_items[page] : m_hwnd, ControlId(c));
    m_items[row] = item;
    HFONT font = (c.kind == Kind::Link ? m_linkFont : m_font).Get();
    SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const RECT& b = m_bounds[row];
    SetWindowPos(item, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (c.kind == Kind::Tabs && m_tabs == nullptr) AddTabs(row);
    if (c.flags & kAutoSize) AutoSize(row);
}

// Every tab before any page: the display area that the pages cover depends on them.
void Form::AddTabs(int tabsRow)
{
    m_tabs = m_items[tabsRow];
    m_pageWindows.KeepUnpaintedBy(m_tabs);
    int index = 0;
    for (size_t r = 0; r < m_desc.count; ++r) {
        const Control& page = m_desc.controls[r];
        if (page.kind != Kind::Page || page.parent != tabsRow) continue;
        TCITEMW tab = {};
        tab.mask = TCIF_TEXT;
        std::wstring text = Wide(page.caption);
        tab.pszText = &text[0];
        SendMessageW(m_tabs, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&tab));
    }
}

void Form::ShowPage(int index)
{
    if (m_tabs) SendMessageA(m_tabs, TCM_SETCURSEL, index, 0);
    for (size_t i = 0; i < m_pageWindows.size(); ++i)
        ShowWindow(m_pageWindows[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
}

void Form::KeepRadioGroupsReachable()
{
    // A group with no checked radio button would have no tab stop at all.
    for (size_t r = 0; r < m_desc.count; ++r) {
        if (m_desc.controls[r].kind != Kind::Radio || !m_items[r]) continue;
        if (!(GetWindowLongA(m_items[r], GWL_STYLE) & WS_GROUP)) continue;
        bool reachable = false;
        HWND first = m_items[r];
        HWND h = first;
        do {
            if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) reachable = true;
            h = GetNextDlgGroupItem(GetParent(first), h, FALSE);
        } while (h && h != first);
        if (!reachable && m_desc.controls[r].tab >= 0)
            SetWindowLongA(first, GWL_STYLE, GetWindowLongA(first, GWL_STYLE) | WS_TABSTOP);
    }
}

void Form::AutoSize(int row)
{
    HWND item = m_items[row];
    const Control& c = m_desc.controls[row];
    std::string text = Text(row);
    RECT rc = m_bounds[row];
    RECT calc = {0, 0, rc.right - rc.left, 0};
    UINT format = DT_CALCRECT | ((c.flags & kWordWrap) ? DT_WORDBREAK : DT_SINGLELINE);
    if (c.flags & kNoPrefix) format |= DT_NOPREFIX;
    {
        WindowDc dc(item);
        // The control's font, borrowed: selected for the measuring, never deleted here.
        Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(item, WM_GETFONT, 0, 0)));
        DrawTextA(dc.Get(), text.empty() ? " " : text.c_str(), -1, &calc, format);
    }
    if (text.empty()) calc.right = 0;
    if (c.flags & kWordWrap) calc.right = rc.right - rc.left;
    m_bounds[row].right = rc.left + calc.right;
    m_bounds[row].bottom = rc.top + calc.bottom;
    SetWindowPos(item, nullptr, 0, 0, calc.right, calc.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace form
