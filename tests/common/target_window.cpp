#include "tests/common/target_window.h"

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
