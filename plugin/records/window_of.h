#pragma once
// How every window, chooser hook and subclass of ours finds the object behind it: the
// object is stored at the first message, each message goes to one member of it inside the
// exception boundary, and the object is forgotten at WM_NCDESTROY. Self's member OnMessage
// answers the messages; Where names the entry in the log line of a failure (a name in a
// header is declared inline, so that every file names one and the same procedure).
#include <windows.h>

#include <commctrl.h>

#include "plugin/records/guard.h"

template <typename Self, auto OnMessage, const char* Where>
class WindowOf {
public:
    // A window of a class of ours, its object passed as CreateWindowEx's last argument.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE) Keep(hwnd, static_cast<Self*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        Self* self = Of(hwnd);
        if (msg == WM_NCDESTROY) Forget(hwnd);
        if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
        return Guarded(Where, LRESULT(0), [=] { return (self->*OnMessage)(hwnd, msg, wParam, lParam); });
    }

    // A control that a dialog template makes, so no one passes it an object: the window
    // makes its own and deletes it with itself. No object, no window.
    static LRESULT CALLBACK OwningWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE && !Guarded(Where, false, [hwnd] { return Keep(hwnd, new Self()); })) return FALSE;
        Self* self = Of(hwnd);
        if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
        LRESULT result = Guarded(Where, LRESULT(0), [=] { return (self->*OnMessage)(hwnd, msg, wParam, lParam); });
        if (msg == WM_NCDESTROY) {
            Forget(hwnd);
            delete self;
        }
        return result;
    }

    // A common dialog's hook, its object in the chooser's lCustData at WM_INITDIALOG. The
    // chooser's window is the system's, its user data perhaps too: the object is a property.
    template <typename Chooser>
    static UINT_PTR CALLBACK ChooserHook(HWND hdlg, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_INITDIALOG)
            SetPropA(hdlg, Where, reinterpret_cast<HANDLE>(reinterpret_cast<const Chooser*>(lParam)->lCustData));
        Self* self = static_cast<Self*>(GetPropA(hdlg, Where));
        // The chooser need not pass its hook the last message: it forgets at the one before too.
        if (msg == WM_DESTROY || msg == WM_NCDESTROY) RemovePropA(hdlg, Where);
        if (self == nullptr) return FALSE;
        return Guarded(Where, UINT_PTR(FALSE), [=] { return (self->*OnMessage)(hdlg, msg, wParam, lParam); });
    }

    // A subclass of a control of the system's; the subclass goes with the control.
    static void Subclass(HWND hwnd, Self* self)
    {
        SetWindowSubclass(hwnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(self));
    }

    // The object of a window made by WindowProc or OwningWindowProc.
    static Self* Of(HWND hwnd) { return reinterpret_cast<Self*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

    // From now on the window's messages find no object and get the default handling.
    static void Forget(HWND hwnd)
    {
        if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }

private:
    static bool Keep(HWND hwnd, Self* self)
    {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return true;
    }

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, SubclassProc, 0);
        Self* self = reinterpret_cast<Self*>(data);
        return Guarded(Where, LRESULT(0), [=] { return (self->*OnMessage)(hwnd, msg, wParam, lParam); });
    }
};
