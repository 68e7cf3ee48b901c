#include "dialogs/form/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "dialogs/form/form_controls.h"
#include "dialogs/form/host_messages.h"
#include "dialogs/form/visual_styles.h"
#include "plugin/records/guard.h"
#include "support/dpi_awareness.h"

namespace form {

namespace {

// Listed before it is disabled: a window that could not be listed stays enabled, and
// a failure ends the enumeration.
BOOL CALLBACK DisableOne(HWND hwnd, LPARAM list)
{
    return Guarded("DisableOne", FALSE, [hwnd, list] {
        if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            EnableWindow(hwnd, FALSE);
        }
        return TRUE;
    });
}

BOOL CALLBACK CollectDialogWindows(HWND hwnd, LPARAM list)
{
    return Guarded("CollectDialogWindows", FALSE, [hwnd, list] {
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (strcmp(cls, "#32770") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
    });
}

bool OwnedBy(HWND window, HWND owner)
{
    for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER))
        if (up == owner) return true;
    return false;
}

}  // namespace

int ScreenPpi()
{
    int ppi = GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY);
    return ppi > 0 ? ppi : 96;
}

Form::Form(const Description& description)
    : m_desc(description),
      m_ppi(ScreenPpi()),
      m_bounds(description.count),
      m_items(description.count),
      m_templates(BuildTemplates(description))
{
}

Form::~Form() = default;

// ---------------------------------------------------------------------------

int Form::ShowModal(HWND owner)
{
    // The windows take the thread's awareness as they are made; the host's comes back
    // however this returns.
    PerMonitorDpiScope perMonitor;
    HostMessagesScope hostMessages(this);  // the host's timers still run in its own context
    VisualStylesScope styles;  // the controls are made and run in the system's own look
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    UseSwatchClass();
    m_modalResult = 0;
    m_disabled.clear();
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&m_disabled));
    INT_PTR result = DialogBoxIndirectParamA(CodeModule(), m_templates[0].Get(), owner, DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    EnableThreadWindows();
    ReleaseSwatchClass();
    m_hwnd = nullptr;
    m_tabs = nullptr;
    m_laidOut = false;
    m_pageWindows.clear();
    std::fill(m_items.begin(), m_items.end(), nullptr);
    return result == IDOK ? IDOK : IDCANCEL;
}

void Form::EnableThreadWindows()
{
    for (HWND hwnd : m_disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    m_disabled.clear();
}

void Form::EndModal(int result)
{
    m_modalResult = result;
    if (m_hwnd == nullptr) return;
    // Before the form goes, so that activation can return to the windows it disabled.
    EnableThreadWindows();
    EndDialog(m_hwnd, result);
}

void Form::Cancel()
{
    if (m_hwnd == nullptr) return;
    // A chooser or message box over the form runs a modal loop of its own: it is cancelled
    // too (posted, so it ends when its loop next looks), and the form's loop ends after it.
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialogWindows, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs)
        if (OwnedBy(dialog, m_hwnd)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EndModal(IDCANCEL);
}

// ---------------------------------------------------------------------------

HWND Form::Item(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < m_items.size() ? m_items[row] : nullptr;
}

RECT Form::Bounds(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < m_bounds.size() ? m_bounds[row] : RECT{};
}

HWND Form::Container(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_desc.count) return nullptr;
    int page = PageOf(m_desc, row);
    return page >= 0 ? m_items[page] : m_hwnd;
}

std::string Form::Text(int row) const
{
    HWND item = Item(row);
    if (!item) return std::string();
    int length = GetWindowTextLengthA(item);
    std::string text(length + 1, '\0');
    int got = GetWindowTextA(item, &text[0], length + 1);
    text.resize(got > 0 ? got : 0);
    return text;
}

void Form::SetText(int row, const char* text)
{
    HWND item = Item(row);
    if (!item) return;
    SetWindowTextA(item, text ? text : "");
    if (m_desc.controls[row].flags & kAutoSize) AutoSize(row);
    InvalidateRect(item, nullptr, TRUE);
    RenameFrom(row);
}

bool Form::Checked(int row) const
{
    HWND item = Item(row);
    return item && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(int row, bool checked)
{
    if (HWND item = Item(row)) SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::SetVisible(int row, bool visible)
{
    if (row < 0 || static_cast<size_t>(row) >= m_desc.count) return;
    for (size_t r = 0; r < m_desc.count; ++r)
        if ((static_cast<int>(r) == row || Inside(m_desc, static_cast<int>(r), row)) && m_items[r])
            ShowWindow(m_items[r], visible ? SW_SHOWNA : SW_HIDE);
}

bool Form::Visible(int row) const
{
    HWND item = Item(row);
    return item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE);
}

COLORREF Form::SwatchColour(int row) const
{
    HWND item = Item(row);
    return item ? static_cast<COLORREF>(SendMessageA(item, kSwatchGetColour, 0, 0)) : 0;
}

void Form::SetSwatchColour(int row, COLORREF colour)
{
    if (HWND item = Item(row)) SendMessageA(item, kSwatchSetColour, colour, 0);
}

void Form::Focus(int row)
{
    if (HWND item = Item(row)) SendMessageA(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

int Form::ActivePage() const
{
    return m_tabs ? static_cast<int>(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)) : -1;
}

}  // namespace form
