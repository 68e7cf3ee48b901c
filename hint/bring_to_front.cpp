#include "hint/bring_to_front.h"

namespace {

constexpr UINT kRestoreTimeoutMs = 100;
// Posted to the window's own thread, so a hung window cannot hold up the caller.
constexpr UINT kRaiseFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

// Windows raises the window it activates, so on Windows this moves nothing. Wine 8 does
// not: activation changes no z-order (win32u set_active_window), and a window that a window
// manager manages gets neither X focus nor an activation request (winex11 X11DRV_SetFocus
// focuses unmanaged windows only; Wine 8 sends no _NET_ACTIVE_WINDOW). A z-order change
// reaches the window manager as a raise request, but only for a window that no visible
// window precedes in Wine's z-order (winex11 sync_window_position): while the topmost
// hints are shown it is dropped, hence RaiseIfStillInFront once they are hidden.
void RaiseToTop(HWND window) { SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, kRaiseFlags); }

}  // namespace

void BringWindowToFront(HWND target)
{
    HWND front = GetForegroundWindow();
    DWORD foreground = GetWindowThreadProcessId(front, nullptr);
    DWORD self = GetCurrentThreadId();
    // Joined to the foreground thread's input, this thread may take the foreground. Never
    // to a hung thread's: attached queues wait on each other, so the hint would hang too.
    // Without the attachment the foreground is still offered; the system may refuse it.
    BOOL attached = foreground && foreground != self && !IsHungAppWindow(front) &&
                    AttachThreadInput(self, foreground, TRUE);
    if (IsIconic(target)) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(target, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, kRestoreTimeoutMs, &ignored);
    }
    SetForegroundWindow(target);
    RaiseToTop(target);
    if (attached) AttachThreadInput(self, foreground, FALSE);
}

void RaiseIfStillInFront(HWND brought)
{
    if (brought && brought == GetForegroundWindow()) RaiseToTop(brought);
}
