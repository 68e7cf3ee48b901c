#pragma once
// The popup window of a hint: its class, its window procedure with the painting, and
// what a click does. The popup knows of its hint only what it shows (hint_face_t).
#include <windows.h>

#include <string>

#include "hint/hint_rules.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/window_of.h"

// One name for every file, so that they all name one procedure.
inline constexpr char kHintWndProcName[] = "HintWndProc";

class HintWndMgr;

// What a popup shows of its hint and whose window a click brings forward.
struct hint_face_t {
    HWND m_target = nullptr;
    HICON m_icon = nullptr;  // borrowed
    char m_text[kHintTextSize] = {};
    // The window's own title shown instead of m_text (wide_title.h); empty: m_text.
    std::wstring m_wideText;
    UINT m_dpi = kHintDesignDpi;  // measured and painted at: its monitor's
    // Its set, which outlives it: the settings and pictures it is drawn with, and what a
    // click brings forward.
    HintWndMgr* m_set = nullptr;

    // The popup's messages: it paints this face and answers clicks for it.
    LRESULT OnMessage(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) const;
};

// A popup made with its face as CreateWindowEx's last argument paints it from then on.
using HintPopupOf = WindowOf<hint_face_t, &hint_face_t::OnMessage, kHintWndProcName>;
constexpr WNDPROC HintWndProc = HintPopupOf::WindowProc;

// Registers a hint's own window class; 0 when it is already registered (the existing
// class has the same procedure and serves).
ATOM RegisterHintClass(HINSTANCE instance, const char* i_classname);

// The instance the hint classes belong to: the plug-in module.
HINSTANCE HintInstance();

constexpr DWORD kHintExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr DWORD kHintStyle = WS_POPUP;
// With HWND_TOPMOST: moved, shown and brought to the top of the topmost band, never activated.
constexpr UINT kHintMoveFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW;

// The rounded shape of a hint of width x height at a DPI, as a region in client
// coordinates: the popup's window region, and the area its painting fills. The caller owns it.
HRGN MakeHintShape(int width, int height, UINT dpi);

// A hint's margins, icon and gaps at a DPI, the icon as large as the system's small one there.
hint_metrics_t HintMetricsFor(UINT dpi);
