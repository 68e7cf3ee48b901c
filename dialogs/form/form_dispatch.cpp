// A form's dialog procedure: it finds the form and hands each message to the member
// that handles it. The form and its pages share it.
#include "dialogs/form/form.h"

#include <commctrl.h>

#include <algorithm>

#include "dialogs/form/high_contrast.h"
#include "dialogs/form/visual_styles.h"
#include "plugin/records/guard.h"

namespace form {

INT_PTR CALLBACK Form::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    Form* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) return FALSE;
    INT_PTR failed = -1;
    INT_PTR result = Guarded("DialogProc", failed, [=] { return self->OnMessage(hwnd, msg, wParam, lParam); });
    if (result != failed) return result;
    // A form that could not be built closes as Cancel would: nothing of it was stored.
    if (msg == WM_INITDIALOG && hwnd == self->m_hwnd) self->EndModal(IDCANCEL);
    return FALSE;
}

INT_PTR Form::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(hwnd);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->hwndFrom == m_tabs && hdr->code == static_cast<UINT>(TCN_SELCHANGE))
            ShowPage(static_cast<int>(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM:
        return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_SETCURSOR:
        return OnSetCursor(hwnd, reinterpret_cast<HWND>(wParam));
    case WM_DPICHANGED:  // moved to a monitor of another DPI
        if (hwnd != m_hwnd) return FALSE;
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        if (hwnd == m_hwnd) RepaintInNewColours(hwnd, msg);
        return FALSE;
    case WM_DESTROY:
        if (hwnd != m_hwnd) return FALSE;
        // Before the controls go: a name left behind would fall to a window made later.
        m_names.Clear();
        m_pageKeys.Stop();
        FormDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL Form::OnInitDialog(HWND hwnd)
{
    if (m_hwnd != nullptr) {  // a page
        UseTabBodyBackground(hwnd);
        return FALSE;
    }
    m_hwnd = hwnd;
    Build();
    FormCreate();
    KeepRadioGroupsReachable();
    NameControls();
    if (m_tabs) m_pageKeys.Start(this);
    return TRUE;
}

int Form::RowOfWindow(HWND control) const
{
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

INT_PTR Form::OnCtlColorStatic(HWND control, HDC dc)
{
    int row = RowOfWindow(control);
    if (row < 0) return FALSE;
    if (m_desc.controls[row].kind == Kind::Link) {
        SetTextColor(dc, LinkColour());
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return reinterpret_cast<INT_PTR>(CtlColor(row, dc));
}

BOOL Form::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    int row = RowOfWindow(item.hwndItem);
    if (row < 0) return FALSE;
    if (m_desc.controls[row].kind == Kind::Bevel) {
        RECT rc = item.rcItem;
        DrawEdge(item.hDC, &rc, BDR_SUNKENOUTER, BF_RECT);
    } else {
        DrawItem(row, item);
    }
    return TRUE;
}

// The hand over a link, as a browser shows it.
BOOL Form::OnSetCursor(HWND form, HWND under)
{
    int row = RowOfWindow(under);
    if (row < 0 || m_desc.controls[row].kind != Kind::Link) return FALSE;
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    SetWindowLongPtrA(form, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void Form::OnCommand(int id)
{
    for (size_t r = 0; r < m_desc.count; ++r) {
        const Control& c = m_desc.controls[r];
        if (ControlId(c) != id) continue;
        if (c.flags & kOkButton) m_modalResult = IDOK;
        else if (c.flags & kCancelButton) m_modalResult = IDCANCEL;
        else m_modalResult = 0;
        if (c.handler) c.handler(*this);
        if (m_modalResult != 0 && m_hwnd != nullptr) EndModal(m_modalResult);
        return;
    }
    // Esc and the close box of a form without a cancel button.
    if (id == IDCANCEL) EndModal(IDCANCEL);
}

}  // namespace form
