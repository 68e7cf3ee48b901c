#include "dialogs/form/host_messages.h"

#include <algorithm>
#include <vector>

#include "dialogs/form/form.h"
#include "plugin/records/guard.h"
#include "support/dpi_awareness.h"

namespace form {

namespace {

std::vector<const Form*> g_shownForms;  // module-wide, as dialogs/globals.h says why

// A form's own windows: its controls and pages, and the choosers and boxes it owns.
bool OfShownForm(HWND window)
{
    if (window == nullptr) return false;
    HWND root = GetAncestor(window, GA_ROOT);
    for (const Form* form : g_shownForms)
        for (HWND up = root; up; up = GetWindow(up, GW_OWNER))
            if (up == form->Handle()) return true;
    return false;
}

// Keys and characters stay with the loop: it fetched them in its own character set.
bool IsInput(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

HostMessagesScope::HostMessagesScope(const Form* form)
    : m_form(form), m_hook(SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId()))
{
    g_shownForms.push_back(form);
}

HostMessagesScope::~HostMessagesScope()
{
    if (m_hook) UnhookWindowsHookEx(m_hook);
    g_shownForms.erase(std::remove(g_shownForms.begin(), g_shownForms.end(), m_form), g_shownForms.end());
}

LRESULT CALLBACK HostMessagesScope::Filter(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    // Outside our DPI scopes (no per-monitor support) the host's context is the thread's already.
    if (code != MSGF_DIALOGBOX || !InOurDpiScope() || IsInput(msg->message) || OfShownForm(msg->hwnd))
        return CallNextHookEx(nullptr, code, wParam, lParam);
    Guarded("HostMessages", [msg] {
        HostDpiScope host;
        DispatchMessageW(msg);
    });
    return TRUE;  // handled: the loop goes on to its next message
}

}  // namespace form
