#include "tests/common/target_window.h"

HWND MakeTarget(const RECT& r, const char* title, HICON smallIcon, HWND owner, DWORD exStyle)
{
    static const ATOM kClass = [] {
        WNDCLASSEXA wc = {sizeof wc, 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr,
                          LoadCursorA(nullptr, IDC_ARROW), static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), nullptr,
                          "HintTestTarget", nullptr};
        return RegisterClassExA(&wc);
    }();
    // Without a caption the window is not handed to an X window manager, so Wine does not
    // wait for one (there is none under Xvfb) each time it hides or destroys the window.
    HWND hwnd = CreateWindowExA(exStyle, MAKEINTATOM(kClass), title, WS_POPUP | WS_VISIBLE, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd && smallIcon) SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    return hwnd;
}
