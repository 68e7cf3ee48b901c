#pragma once
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp switch a shown form's pages, as in
// every tabbed dialog of the system. The dialog manager's modal loop offers each message
// to the thread's message filter before it handles it (MSGF_DIALOGBOX); the filter takes
// these keys for a window of the form only, so the host's windows and the choosers over
// the form keep theirs. They are taken before any control sees them, the hot-key field
// included, and leave the focus on the tabs.
#include <windows.h>

namespace form {

class Form;

class PageKeys {
public:
    PageKeys() = default;
    ~PageKeys() { Stop(); }
    PageKeys(const PageKeys&) = delete;
    PageKeys& operator=(const PageKeys&) = delete;

    void Start(Form* form);
    void Stop();

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
    static bool Take(const MSG& msg);

    Form* m_form = nullptr;
    HHOOK m_hook = nullptr;
};

}  // namespace form
