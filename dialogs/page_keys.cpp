#include "dialogs/page_keys.h"

#include <algorithm>
#include <vector>

#include "dialogs/dialog_rules.h"
#include "dialogs/form.h"
#include "plugin/records/guard.h"

namespace form {

namespace {

std::vector<Form*> g_forms;  // forms whose page keys are on, on the one UI thread

bool Held(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

page_key_t PageKey(WPARAM vk)
{
    switch (vk) {
    case VK_TAB: return page_key_t::Tab;
    case VK_NEXT: return page_key_t::PageDown;
    case VK_PRIOR: return page_key_t::PageUp;
    default: return page_key_t::Other;
    }
}

// The first control that Tab reaches on a page, in the order its controls were made.
HWND FirstTabStop(HWND page)
{
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child))
            return child;
    return nullptr;
}

}  // namespace

void PageKeys::Start(Form* form)
{
    Stop();
    m_hook = SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
    if (!m_hook) return;
    m_form = form;
    g_forms.push_back(form);
}

void PageKeys::Stop()
{
    if (m_hook) UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    g_forms.erase(std::remove(g_forms.begin(), g_forms.end(), m_form), g_forms.end());
    m_form = nullptr;
}

LRESULT CALLBACK PageKeys::Filter(int code, WPARAM wParam, LPARAM lParam)
{
    bool taken = code == MSGF_DIALOGBOX &&
                 Guarded("PageKeys", false, [lParam] { return Take(*reinterpret_cast<const MSG*>(lParam)); });
    return taken ? TRUE : CallNextHookEx(nullptr, code, wParam, lParam);
}

bool PageKeys::Take(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    for (Form* form : g_forms) {
        HWND shown = form->Handle();
        if (!shown || (msg.hwnd != shown && !IsChild(shown, msg.hwnd))) continue;
        int page = PageAfterKey(form->ActivePage(), form->PageCount(), PageKey(msg.wParam), Held(VK_CONTROL),
                                Held(VK_SHIFT), Held(VK_MENU));
        if (page < 0) return false;
        // A control that asks for the key (the hot-key field records it) keeps it.
        LPARAM asked = reinterpret_cast<LPARAM>(&msg);
        if (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, asked) & DLGC_WANTMESSAGE) return false;
        form->SelectPage(page);
        if (HWND first = FirstTabStop(form->PageWindow(page)))
            SendMessageW(shown, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        return true;
    }
    return false;
}

}  // namespace form
