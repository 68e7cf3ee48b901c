#include "hint/hint_wnd.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "hint/app_icon.h"
#include "hint/hint_font.h"
#include "hint/hint_popup.h"
#include "hint/hint_wnd_mgr.h"
#include "hint/store_logo.h"
#include "hint/wide_title.h"
#include "plugin/records/globals.h"
#include "plugin/records/host_api.h"
#include "support/bounded_text.h"
#include "support/dpi_awareness.h"
#include "support/dwm_window.h"
#include "support/geometry_win32.h"
#include "support/owners.h"

namespace {

constexpr DWORD kIconSearchBoundMs = 300;
constexpr int kInitialHintSize = 10;

HICON ClassIcon(HWND window, int index)
{
    return reinterpret_cast<HICON>(GetClassLongPtrA(window, index));
}

// The icon requests of one search: each waits what the showing's budget gives it (100 ms
// at most), the search 300 ms in all. A thread that let one go unanswered (hung, or busy)
// is asked nothing more.
class IconRequests {
public:
    IconRequests(const IconBudget& showing, bool* o_cut) : m_showing(showing), m_cut(o_cut) {}

    // SMTO_BLOCK: no other thread's message runs while we wait.
    HICON Ask(HWND window, WPARAM kind)
    {
        DWORD spent = GetTickCount() - m_start;
        DWORD thread = GetWindowThreadProcessId(window, nullptr);
        if (spent >= kIconSearchBoundMs || thread == m_unanswered) return nullptr;
        // Cut short by the showing's budget: the hint is asked again at the next showing.
        DWORD wait = m_showing.NextWait();
        if (wait < IconBudget::kRequestMs) *m_cut = true;
        wait = std::min<DWORD>(wait, kIconSearchBoundMs - spent);
        DWORD_PTR answer = 0;
        if (wait == 0) return nullptr;
        if (!SendMessageTimeoutA(window, WM_GETICON, kind, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, wait, &answer)) {
            m_unanswered = thread;
            return nullptr;
        }
        return reinterpret_cast<HICON>(answer);
    }

    // Whether a step that sends the window nothing (its Store app's logo) may still run.
    // It cannot be cut short once it runs, so it starts only while a whole request's time
    // is left; not for a window that left a request unanswered, as for the requests. Left
    // out, the hint asks again at the next showing.
    bool TimeLeft(HWND window)
    {
        if (GetWindowThreadProcessId(window, nullptr) == m_unanswered) return false;
        const DWORD spent = GetTickCount() - m_start;
        if (spent + IconBudget::kRequestMs <= kIconSearchBoundMs && m_showing.NextWait() >= IconBudget::kRequestMs) return true;
        *m_cut = true;
        return false;
    }

private:
    const IconBudget& m_showing;
    bool* m_cut;
    DWORD m_start = GetTickCount();
    DWORD m_unanswered = 0;
};

}  // namespace

DWORD IconBudget::NextWait() const
{
    DWORD spent = GetTickCount() - m_start;  // unsigned: right across the counter's wrap
    if (spent >= kShowingMs) return 0;
    return kShowingMs - spent < kRequestMs ? kShowingMs - spent : kRequestMs;
}

namespace {

int IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return 0;
    GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bits = {};
    GetObjectA(colour ? colour.Get() : mask.Get(), sizeof bits, &bits);
    return bits.bmWidth;
}

// The window's or its class's small icon.
HICON SmallIcon(HWND window, IconRequests& requests)
{
    HICON icon = ClassIcon(window, GCL_HICONSM);
    return icon ? icon : requests.Ask(window, ICON_SMALL);
}

// A small icon below the hint's size is stretched blurry: the same window's larger one,
// where it has one, is drawn scaled down instead.
HICON Sharpest(HWND window, HICON small, int size, IconRequests& requests)
{
    int width = IconWidth(small);
    if (width >= size) return small;
    HICON big = ClassIcon(window, GCL_HICON);
    if (!big) big = requests.Ask(window, ICON_BIG);
    return big && IconWidth(big) > width ? big : small;
}

}  // namespace

HICON FindTargetIcon(HWND target, int size, const IconBudget& icons, hint_icon_caches_t& caches, bool* o_cut)
{
    IconRequests requests(icons, o_cut);
    if (HWND owner = GetWindow(target, GW_OWNER)) {
        if (HICON icon = SmallIcon(owner, requests)) return Sharpest(owner, icon, size, requests);
    }
    if (HICON icon = SmallIcon(target, requests)) return Sharpest(target, icon, size, requests);
    HICON icon = ClassIcon(target, GCL_HICON);
    if (!icon) icon = requests.Ask(target, ICON_BIG);
    // Store apps and some WinUI windows answer none of those: the app's logo from its
    // package, the small icon the system makes for the window, then the one of its program's file.
    if (!icon && requests.TimeLeft(target)) icon = StoreLogoOf(target, size, caches.logos);
    if (!icon) icon = requests.Ask(target, ICON_SMALL2);
    if (!icon) icon = AppIconOf(target, size, caches.programs);
    return icon;
}

RECT RestoredRect(HWND window)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return RECT{};
    // Windows gives the restored rectangle in workspace coordinates (counted from the
    // primary monitor's work area) unless the window is a tool window. Wine gives
    // screen coordinates and restores to them (win32u's window_min_maximize uses
    // rcNormalPosition as it is), so under Wine a hint stands off by a task bar at the
    // top or left of the primary monitor: the code follows Windows.
    bool inWorkspace = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    bool restoresMaximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
    HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return ToRect(RestoredScreenRect(ToPixelRect(placement.rcNormalPosition), inWorkspace, restoresMaximized,
                                     ToPixelRect(WorkAreaOfMonitor(primary)), ToPixelRect(WorkAreaOf(window))));
}

bool VisibleWindowRect(HWND window, RECT* o_rect)
{
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    RECT frame;
    bool reported = ExtendedFrameBounds(window, &frame);
    pixel_rect_t visible = ToPixelRect(frame);
    *o_rect = ToRect(VisibleTargetRect(ToPixelRect(rect), reported ? &visible : nullptr));
    return true;
}

RECT WorkAreaOfMonitor(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    return info.rcWork;
}

RECT WorkAreaOf(HWND window) { return WorkAreaOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)); }

HintWnd::HintWnd(HWND target, const std::string& title, const IconBudget& icons, HintWndMgr& set) : m_title(title)
{
    m_target = target;
    m_set = &set;
    FindIcon(icons);
    BuildDisplayText(m_title, Settings().Contents, m_text);
    m_work = ToPixelRect(WorkAreaOf(target));
    m_top = m_work.top;
    m_left = m_work.left;
    m_width = m_height = kInitialHintSize;
    if (IsIconic(target)) m_rect = RestoredRect(target);
    else VisibleWindowRect(target, &m_rect);
    MakePopup();
}

HintWnd::~HintWnd() { DestroyPopup(); }

const hint_settings_t& HintWnd::Settings() const { return m_set->Settings(); }

void HintWnd::FindIcon(const IconBudget& icons)
{
    bool cut = false;
    // Read at the size the hint draws it at on the target's monitor.
    int size = HintMetricsFor(DpiOfMonitor(MonitorFromWindow(m_target, MONITOR_DEFAULTTOPRIMARY))).iconSize;
    m_icon = FindTargetIcon(m_target, size, icons, m_set->IconCaches(), &cut);
    m_iconPending = m_icon == nullptr && cut;
}

void HintWnd::AskIconAgain(const IconBudget& icons)
{
    if (m_iconPending) FindIcon(icons);
}

void HintWnd::MakePopup()
{
    FormatText(m_classname, sizeof m_classname, "tag%d", static_cast<int>(reinterpret_cast<intptr_t>(m_target)));
    m_shape = pixel_size_t{};
    // A class of its own per hint, named after the target: a popup's class name is the one
    // thing outside the plug-in can tell which window a hint stands for by (FindWindow
    // with "tag" and the target's handle finds it; the tests do so). It lives exactly as
    // long as the popup, so a target seen again registers its class anew and teardown
    // leaves no class behind whose procedure lies in this module.
    RegisterHintClass(HintInstance(), m_classname);
    m_hwnd = CreateWindowExA(kHintExStyle, m_classname, m_text, kHintStyle, m_left, m_top, m_width, m_height,
                             nullptr, nullptr, HintInstance(), static_cast<hint_face_t*>(this));
    // Announced even when it could not be made: the host is told of every hint alike.
    g_zlvnAPI.RegisterFocus(m_hwnd);
}

void HintWnd::DestroyPopup()
{
    g_zlvnAPI.UnregisterFocus(m_hwnd);
    // From here on a message to the popup finds no hint.
    HintPopupOf::Forget(m_hwnd);
    if (m_hwnd) DestroyWindow(m_hwnd);
    if (m_classname[0]) UnregisterClassA(m_classname, HintInstance());
    m_hwnd = nullptr;
    m_classname[0] = '\0';
}

RECT HintWnd::TargetRect()
{
    // A minimized window is placed from where it stood when last seen restored; a window
    // that is gone keeps its last rectangle too.
    if (IsIconic(m_target)) return m_rect;
    RECT rect;
    if (VisibleWindowRect(m_target, &rect)) m_rect = rect;
    return m_rect;
}

SIZE HintWnd::MeasureText()
{
    // A plain device context, not BeginPaint: that would validate a paint still owed.
    SIZE extent = {};
    WindowDc dc(m_hwnd);
    GdiObject<HFONT> font = MakeHintFont(Settings(), m_dpi);
    Selection fontSelected(dc.Get(), font.Get());
    if (!m_wideText.empty()) {
        GetTextExtentPoint32W(dc.Get(), m_wideText.c_str(), static_cast<int>(m_wideText.size()), &extent);
    } else {
        GetTextExtentPoint32A(dc.Get(), m_text, static_cast<int>(strlen(m_text)), &extent);
    }
    return extent;
}

void HintWnd::Place()
{
    const hint_settings_t& s = Settings();
    BuildDisplayText(m_title, s.Contents, m_text);
    m_wideText = WideDisplayTextOf(m_target, m_title, s.Contents);
    RECT target = TargetRect();
    HMONITOR monitor = MonitorFromWindow(m_target, MONITOR_DEFAULTTOPRIMARY);
    m_work = ToPixelRect(WorkAreaOfMonitor(monitor));
    // Measured at every showing at the scale of the monitor it stands on, so a target
    // moved to a monitor of another scale gets a hint of that scale.
    m_dpi = DpiOfMonitor(monitor);
    // The setting Width itself stays as the user set it: it is written back at teardown.
    pixel_size_t size = HintSize(ToPixelSize(MeasureText()), s.Width, s.IsShowIcon != 0, m_work.right - m_work.left,
                                 HintMetricsFor(m_dpi));
    pixel_point_t corner = KeepInWorkArea(HintPosition(s.Pos, ToPixelRect(target), size), size, m_work);
    m_left = corner.x;
    m_top = corner.y;
    m_width = size.cx;
    m_height = size.cy;
    ApplyShape();
    MoveToFinalRect();
}

void HintWnd::ApplyShape()
{
    if (m_hwnd == nullptr || (m_shape.cx == m_width && m_shape.cy == m_height && m_shapeDpi == m_dpi)) return;
    // The system owns the region once it is set; a region that cannot be made leaves
    // the popup rectangular, which the painting covers too.
    // A region the system refused stays ours, and goes here.
    GdiObject<HRGN> shape(MakeHintShape(m_width, m_height, m_dpi));
    if (shape && SetWindowRgn(m_hwnd, shape.Get(), FALSE)) {
        shape.Release();
        m_shape = pixel_size_t{m_width, m_height};
        m_shapeDpi = m_dpi;
    }
}

void HintWnd::MoveToFinalRect()
{
    // To the top of the always-on-top band at every showing: a topmost window raised
    // since the popup was made (a player, a clock, the host's own list) would cover it.
    if (m_hwnd) SetWindowPos(m_hwnd, HWND_TOPMOST, m_left, m_top, m_width, m_height, kHintMoveFlags);
}

void HintWnd::RemakeMissingPopup()
{
    if (m_hwnd != nullptr) return;
    DestroyPopup();
    MakePopup();
}

void HintWnd::Show()
{
    // A window that closed after the host listed it keeps its last rectangle; the next
    // list update drops its hint.
    Place();
    ShowPopup();
    // A window stays on the virtual desktop it was made on: shown while the user works
    // on another, the popup is cloaked there. Made again, it is on the current one.
    if (m_hwnd && IsCloaked(m_hwnd)) {
        DestroyPopup();
        MakePopup();
        ApplyShape();
        MoveToFinalRect();
        ShowPopup();
    }
}

void HintWnd::ShowPopup()
{
    if (m_hwnd == nullptr) return;
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    // A move that keeps the size repaints nothing, and the text may have changed.
    InvalidateRect(m_hwnd, nullptr, FALSE);
    UpdateWindow(m_hwnd);
}

void HintWnd::Hide()
{
    if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
}
