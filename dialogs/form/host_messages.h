#pragma once
// While a form is shown modally, its loop (and the loop of a chooser or message box over
// it) also runs the host's timers and the messages of the host's windows. Those run in
// the host's own DPI context, not in the per-monitor one the form is shown in: the
// dialog manager offers every message to the thread's message filter first
// (MSGF_DIALOGBOX), and the filter dispatches the host's ones itself, inside a
// HostDpiScope.
#include <windows.h>

namespace form {

class Form;

class HostMessagesScope {
public:
    explicit HostMessagesScope(const Form* form);
    ~HostMessagesScope();
    HostMessagesScope(const HostMessagesScope&) = delete;
    HostMessagesScope& operator=(const HostMessagesScope&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

    const Form* m_form;
    HHOOK m_hook;
};

}  // namespace form
