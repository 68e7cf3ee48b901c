#include "dialogs/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "support/gdi_owner.h"

namespace form {

namespace {

constexpr char kSwatchClass[] = "ZlvnColorSwatch";
constexpr wchar_t kSwatchClassW[] = L"ZlvnColorSwatch";
constexpr char kFormProp[] = "ZlvnForm";
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kFirstRowId = 1000;

int g_swatchUsers;

// Captions are Shift-JIS whatever the thread's code page is.
std::wstring Wide(const char* text)
{
    if (text == nullptr || *text == '\0') return std::wstring();
    int n = MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(932, 0, text, -1, &wide[0], n);
    if (!wide.empty()) wide.pop_back();
    return wide;
}

void ClickSwatch(HWND hwnd)
{
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CALLBACK SwatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kSwatchSetColor:
        SetWindowLongA(hwnd, 0, static_cast<LONG>(wParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case kSwatchGetColor:
        return static_cast<COLORREF>(GetWindowLongA(hwnd, 0));
    case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
        PaintDc paint(hwnd);
        HDC dc = paint.Get();
        RECT rc;
        GetClientRect(hwnd, &rc);
        {
            GdiObject<HBRUSH> fill(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongA(hwnd, 0))));
            FillRect(dc, &rc, fill.Get());
        }
        DrawEdge(dc, &rc, BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
        if (GetFocus() == hwnd) {
            InflateRect(&rc, -3, -3);
            DrawFocusRect(dc, &rc);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        SetCapture(hwnd);
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() != hwnd) return 0;
        ReleaseCapture();
        RECT rc;
        GetClientRect(hwnd, &rc);
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&rc, pt)) ClickSwatch(hwnd);
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_SPACE) ClickSwatch(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void UseSwatchClass()
{
    if (g_swatchUsers++ > 0) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SwatchProc;
    wc.cbWndExtra = sizeof(LONG);
    wc.hInstance = CodeModule();
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    wc.lpszClassName = kSwatchClass;
    RegisterClassA(&wc);
}

// A DLL must take its classes away itself before it is unloaded.
void ReleaseSwatchClass()
{
    if (--g_swatchUsers == 0) UnregisterClassA(kSwatchClass, CodeModule());
}

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM list)
{
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK CollectDialogWindows(HWND hwnd, LPARAM list)
{
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

bool OwnedBy(HWND window, HWND owner)
{
    for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER))
        if (up == owner) return true;
    return false;
}

bool Focusable(Kind kind)
{
    switch (kind) {
    case Kind::Tabs: case Kind::Radio: case Kind::Check: case Kind::Button:
    case Kind::Edit: case Kind::HotKey: case Kind::Swatch:
        return true;
    default:
        return false;
    }
}

}  // namespace

int ScreenPpi()
{
    int ppi = GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY);
    return ppi > 0 ? ppi : 96;
}

HINSTANCE CodeModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CodeModule), &module);
    return module;
}

// ---------------------------------------------------------------------------

TemplateWriter::TemplateWriter(DWORD style, DWORD exStyle, short cx, short cy, const char* title)
{
    m_words = {LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle), 0, 0, 0,
               static_cast<WORD>(cx), static_cast<WORD>(cy), 0 /* menu */, 0 /* class */};
    Text(title);
}

void TemplateWriter::Align()
{
    if (m_words.size() % 2) m_words.push_back(0);
}

void TemplateWriter::Text(const char* text)
{
    std::wstring wide = Wide(text);
    for (wchar_t c : wide) m_words.push_back(static_cast<WORD>(c));
    m_words.push_back(0);
}

void TemplateWriter::Add(WORD id, WORD classAtom, const wchar_t* className, const char* caption, DWORD style,
                         DWORD exStyle, short x, short y, short cx, short cy)
{
    Align();
    m_words.insert(m_words.end(), {LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle),
                                   static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx),
                                   static_cast<WORD>(cy), id});
    if (classAtom) {
        m_words.push_back(0xFFFF);
        m_words.push_back(classAtom);
    } else {
        for (const wchar_t* p = className; *p; ++p) m_words.push_back(static_cast<WORD>(*p));
        m_words.push_back(0);
    }
    Text(caption);
    m_words.push_back(0);  // no creation data
    ++m_words[4];
}

// ---------------------------------------------------------------------------

Form::Form(const Description& description)
    : m_desc(description), m_ppi(ScreenPpi()), m_bounds(description.count), m_items(description.count)
{
    for (size_t r = 0; r < m_desc.count; ++r)
        if (m_desc.controls[r].kind == Kind::Page) m_pages.push_back(static_cast<int>(r));

    m_templates.emplace_back(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK, 0, 0, 0,
                             m_desc.title);
    int previous = -1;
    Emit(m_templates[0], -1, previous);
    for (int page : m_pages) {
        m_templates.emplace_back(WS_CHILD | DS_CONTROL | DS_3DLOOK, WS_EX_CONTROLPARENT, 0, 0, "");
        previous = -1;
        Emit(m_templates.back(), page, previous);
    }
}

Form::~Form() = default;

int Form::Row(const char* name) const
{
    if (name == nullptr) return -1;
    for (size_t r = 0; r < m_desc.count; ++r)
        if (strcmp(m_desc.controls[r].name, name) == 0) return static_cast<int>(r);
    return -1;
}

static WORD IdOf(const Control& c, int row)
{
    if (c.flags & kOkButton) return IDOK;
    if (c.flags & kCancelButton) return IDCANCEL;
    return static_cast<WORD>(kFirstRowId + row);
}

bool Form::Inside(int row, int ancestor) const
{
    for (int p = Row(m_desc.controls[row].parent); p >= 0; p = Row(m_desc.controls[p].parent))
        if (p == ancestor) return true;
    return false;
}

int Form::PageOf(int row) const
{
    for (int page : m_pages)
        if (Inside(row, page)) return page;
    return -1;
}

std::vector<int> Form::Children(int parent) const
{
    std::vector<int> plain, tabbed, labels;
    for (size_t r = 0; r < m_desc.count; ++r) {
        const Control& c = m_desc.controls[r];
        if (Row(c.parent) != parent) continue;
        if (c.tab >= 0) tabbed.push_back(static_cast<int>(r));
        else if (c.focusTarget) labels.push_back(static_cast<int>(r));
        else plain.push_back(static_cast<int>(r));
    }
    std::stable_sort(tabbed.begin(), tabbed.end(),
                     [this](int a, int b) { return m_desc.controls[a].tab < m_desc.controls[b].tab; });
    // A label's accelerator focuses the next tab stop, so the label goes right before its target.
    std::vector<int> order = plain;
    for (int t : tabbed) {
        for (int l : labels)
            if (strcmp(m_desc.controls[l].focusTarget, m_desc.controls[t].name) == 0) order.push_back(l);
        order.push_back(t);
    }
    for (int l : labels)
        if (std::find(order.begin(), order.end(), l) == order.end()) order.push_back(l);
    return order;
}

void Form::Emit(TemplateWriter& tmpl, int parent, int& previous)
{
    for (int r : Children(parent)) {
        const Control& c = m_desc.controls[r];
        if (c.kind == Kind::Page) continue;  // a template of its own
        bool radioRun = c.kind == Kind::Radio && previous >= 0 && m_desc.controls[previous].kind == Kind::Radio &&
                        Row(m_desc.controls[previous].parent) == parent;
        DWORD style = WS_CHILD | WS_VISIBLE;
        if (!radioRun) style |= WS_GROUP;
        // Only the first radio button of a group is a tab stop; checking moves it.
        if (c.tab >= 0 && Focusable(c.kind) && !radioRun) style |= WS_TABSTOP;
        DWORD ex = 0;
        WORD atom = 0;
        const wchar_t* cls = nullptr;
        switch (c.kind) {
        case Kind::Tabs: cls = WC_TABCONTROLW; style |= WS_CLIPSIBLINGS; break;
        case Kind::Group: atom = kButtonAtom; style |= BS_GROUPBOX; break;
        case Kind::Panel: atom = kStaticAtom; style |= SS_ETCHEDFRAME; break;
        case Kind::Radio: atom = kButtonAtom; style |= BS_AUTORADIOBUTTON; break;
        case Kind::Check: atom = kButtonAtom; style |= BS_AUTOCHECKBOX; break;
        case Kind::Button:
            atom = kButtonAtom;
            style |= (c.flags & kOkButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case Kind::Edit: atom = kEditAtom; style |= ES_AUTOHSCROLL; ex |= WS_EX_CLIENTEDGE; break;
        case Kind::Label:
        case Kind::Link:
            atom = kStaticAtom;
            style |= (c.flags & kWordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP;
            if (c.flags & kNoPrefix) style |= SS_NOPREFIX;
            if (c.flags & kCentreV) style |= SS_CENTERIMAGE;
            if (c.kind == Kind::Link) style |= SS_NOTIFY;
            break;
        case Kind::Bevel:
        case Kind::Picture: atom = kStaticAtom; style |= SS_OWNERDRAW; break;
        case Kind::HotKey: cls = HOTKEY_CLASSW; ex |= WS_EX_CLIENTEDGE; break;
        case Kind::Swatch: cls = kSwatchClassW; break;
        case Kind::Page: break;
        }
        tmpl.Add(IdOf(c, r), atom, cls, c.caption, style, ex);
        previous = r;
        if (c.kind == Kind::Group || c.kind == Kind::Panel) Emit(tmpl, r, previous);
    }
}

// ---------------------------------------------------------------------------

int Form::ShowModal(HWND owner)
{
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

INT_PTR CALLBACK Form::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    Form* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self ? self->OnMessage(hwnd, msg, wParam, lParam) : FALSE;
}

INT_PTR Form::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (m_hwnd != nullptr) return FALSE;  // a page
        m_hwnd = hwnd;
        Build();
        FormCreate();
        KeepRadioGroupsReachable();
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->hwndFrom == m_tabs && hdr->code == static_cast<UINT>(TCN_SELCHANGE))
            ShowPage(static_cast<int>(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        auto it = std::find(m_items.begin(), m_items.end(), control);
        if (it == m_items.end()) return FALSE;
        int row = static_cast<int>(it - m_items.begin());
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (m_desc.controls[row].kind == Kind::Link) {
            SetTextColor(dc, RGB(0, 0, 255));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        HBRUSH brush = CtlColor(row, dc);
        return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        auto it = std::find(m_items.begin(), m_items.end(), item->hwndItem);
        if (it == m_items.end()) return FALSE;
        int row = static_cast<int>(it - m_items.begin());
        if (m_desc.controls[row].kind == Kind::Bevel) {
            RECT rc = item->rcItem;
            DrawEdge(item->hDC, &rc, BDR_SUNKENOUTER, BF_RECT);
        } else {
            DrawItem(row, *item);
        }
        return TRUE;
    }
    case WM_SETCURSOR: {
        HWND under = reinterpret_cast<HWND>(wParam);
        int row = -1;
        for (size_t r = 0; r < m_items.size(); ++r)
            if (m_items[r] == under && m_desc.controls[r].kind == Kind::Link) row = static_cast<int>(r);
        if (row < 0) return FALSE;
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649) /* IDC_HAND */));
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_DESTROY:
        if (hwnd == m_hwnd) FormDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

void Form::OnCommand(int id)
{
    for (size_t r = 0; r < m_desc.count; ++r) {
        const Control& c = m_desc.controls[r];
        if (IdOf(c, static_cast<int>(r)) != id) continue;
        if (c.flags & kOkButton) m_modalResult = IDOK;
        else if (c.flags & kCancelButton) m_modalResult = IDCANCEL;
        else m_modalResult = 0;
        if (c.handler) (this->*c.handler)();
        if (m_modalResult != 0 && m_hwnd != nullptr) EndModal(m_modalResult);
        return;
    }
    // Esc and the close box of a form without a cancel button.
    if (id == IDCANCEL) EndModal(IDCANCEL);
}

// ---------------------------------------------------------------------------

LRESULT CALLBACK Form::TabsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Form* self = reinterpret_cast<Form*>(GetPropA(hwnd, kFormProp));
    if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    WNDPROC original = self->m_tabsProc;
    // The pages lie below the tab control in Z order (so that Tab reaches the tab
    // strip before the page), so its painting must leave the shown page alone.
    auto excludePage = [self, hwnd](HDC dc) {
        for (HWND page : self->m_pageWindows) {
            if (!IsWindowVisible(page)) continue;
            RECT rc;
            GetWindowRect(page, &rc);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
            ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        }
    };
    switch (msg) {
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        int saved = SaveDC(dc);
        excludePage(dc);
        LRESULT result = CallWindowProcA(original, hwnd, msg, wParam, lParam);
        RestoreDC(dc, saved);
        return result;
    }
    case WM_PAINT: {
        if (wParam != 0) break;
        PaintDc paint(hwnd);
        excludePage(paint.Get());
        CallWindowProcA(original, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(paint.Get()), 0);
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(hwnd, kFormProp);
        return CallWindowProcA(original, hwnd, msg, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

void Form::Build()
{
    auto scale = [this](int v) { return MulDiv(v, m_ppi, m_desc.designPpi); };
    if (!m_font) {
        m_font.Reset(CreateFontA(-scale(m_desc.fontHeight), 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 m_desc.fontFace));
        m_linkFont.Reset(CreateFontA(-scale(m_desc.fontHeight), 0, 0, 0, FW_NORMAL, 0, TRUE, 0, SHIFTJIS_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, m_desc.fontFace));
    }

    // Client size, centred on the primary screen; a form may move itself later.
    RECT frame = {0, 0, scale(m_desc.clientWidth), scale(m_desc.clientHeight)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_EXSTYLE)));
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(m_hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                 w, h, SWP_NOZORDER | SWP_NOACTIVATE);

    m_pageWindows.clear();
    for (size_t r = 0; r < m_desc.count; ++r) {
        const Control& c = m_desc.controls[r];
        int parent = Row(c.parent);
        POINT origin = {0, 0};
        if (parent >= 0 && m_desc.controls[parent].kind != Kind::Page)
            origin = {m_bounds[parent].left, m_bounds[parent].top};
        if (c.kind == Kind::Page) {
            // The page covers the tab control's display area.
            int tabs = parent;
            RECT area;
            GetClientRect(m_tabs, &area);
            SendMessageA(m_tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
            OffsetRect(&area, m_bounds[tabs].left, m_bounds[tabs].top);
            m_bounds[r] = area;
            size_t index = m_pageWindows.size();
            HWND page = CreateDialogIndirectParamA(CodeModule(), m_templates[1 + index].Get(), m_hwnd, DialogProc,
                                                   reinterpret_cast<LPARAM>(this));
            SetWindowPos(page, m_tabs, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         SWP_NOACTIVATE);
            m_items[r] = page;
            m_pageWindows.push_back(page);
            continue;
        }
        m_bounds[r] = {origin.x + scale(c.design.left), origin.y + scale(c.design.top),
                       origin.x + scale(c.design.left + c.design.width),
                       origin.y + scale(c.design.top + c.design.height)};
        int page = PageOf(static_cast<int>(r));
        HWND container = page >= 0 ? m_items[page] : m_hwnd;
        HWND item = GetDlgItem(container, IdOf(c, static_cast<int>(r)));
        m_items[r] = item;
        HFONT font = (c.kind == Kind::Link ? m_linkFont : m_font).Get();
        SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const RECT& b = m_bounds[r];
        SetWindowPos(item, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.kind == Kind::Tabs) {
            m_tabs = item;
            SetPropA(item, kFormProp, this);
            m_tabsProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(item, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabsProc)));
            // Every tab first: the display area that the pages cover depends on them.
            int index = 0;
            for (int page : m_pages) {
                if (Row(m_desc.controls[page].parent) != static_cast<int>(r)) continue;
                TCITEMW tab = {};
                tab.mask = TCIF_TEXT;
                std::wstring text = Wide(m_desc.controls[page].caption);
                tab.pszText = &text[0];
                SendMessageW(item, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&tab));
            }
        }
        if (c.flags & kAutoSize) AutoSize(static_cast<int>(r));
    }
    ShowPage(0);
}

void Form::ShowPage(int index)
{
    if (m_tabs) SendMessageA(m_tabs, TCM_SETCURSEL, index, 0);
    for (size_t i = 0; i < m_pageWindows.size(); ++i)
        ShowWindow(m_pageWindows[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
}

int Form::ActivePage() const
{
    return m_tabs ? static_cast<int>(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)) : -1;
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
    std::string text = Text(c.name);
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

// ---------------------------------------------------------------------------

HWND Form::Item(const char* name) const
{
    int row = Row(name);
    return row >= 0 ? m_items[row] : nullptr;
}

RECT Form::Bounds(const char* name) const
{
    int row = Row(name);
    return row >= 0 ? m_bounds[row] : RECT{};
}

HWND Form::Container(const char* name) const
{
    int row = Row(name);
    if (row < 0) return nullptr;
    int page = PageOf(row);
    return page >= 0 ? m_items[page] : m_hwnd;
}

std::string Form::Text(const char* name) const
{
    HWND item = Item(name);
    if (!item) return std::string();
    int length = GetWindowTextLengthA(item);
    std::string text(length + 1, '\0');
    int got = GetWindowTextA(item, &text[0], length + 1);
    text.resize(got > 0 ? got : 0);
    return text;
}

void Form::SetText(const char* name, const char* text)
{
    int row = Row(name);
    if (row < 0 || !m_items[row]) return;
    SetWindowTextA(m_items[row], text ? text : "");
    if (m_desc.controls[row].flags & kAutoSize) AutoSize(row);
    InvalidateRect(m_items[row], nullptr, TRUE);
}

bool Form::Checked(const char* name) const
{
    HWND item = Item(name);
    return item && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(const char* name, bool checked)
{
    if (HWND item = Item(name)) SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::SetVisible(const char* name, bool visible)
{
    int row = Row(name);
    if (row < 0) return;
    for (size_t r = 0; r < m_desc.count; ++r)
        if ((static_cast<int>(r) == row || Inside(static_cast<int>(r), row)) && m_items[r])
            ShowWindow(m_items[r], visible ? SW_SHOWNA : SW_HIDE);
}

bool Form::Visible(const char* name) const
{
    HWND item = Item(name);
    return item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE);
}

COLORREF Form::SwatchColor(const char* name) const
{
    HWND item = Item(name);
    return item ? static_cast<COLORREF>(SendMessageA(item, kSwatchGetColor, 0, 0)) : 0;
}

void Form::SetSwatchColor(const char* name, COLORREF colour)
{
    if (HWND item = Item(name)) SendMessageA(item, kSwatchSetColor, colour, 0);
}

void Form::Focus(const char* name)
{
    if (HWND item = Item(name)) SendMessageA(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

}  // namespace form
