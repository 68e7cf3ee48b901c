#include "dialogs/form/page_keys.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "dialogs/dialog_rules.h"
#include "dialogs/form/form.h"
#include "plugin/records/guard.h"

namespace form {

namespace {

// Module-wide, as dialogs/globals.h says why.
std::vector<Form*> g_forms;

struct chord_t {
    HWND field = nullptr;
    WORD before = 0;
};
chord_t g_chord;

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

bool IsHotKeyField(HWND window)
{
    wchar_t name[32] = {};
    return GetClassNameW(window, name, 32) > 0 && lstrcmpiW(name, HOTKEY_CLASSW) == 0;
}

void WatchChord(const MSG& msg)
{
    bool modifier = msg.wParam == VK_CONTROL || msg.wParam == VK_SHIFT || msg.wParam == VK_MENU;
    if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
        if (!Held(VK_CONTROL) && !Held(VK_SHIFT) && !Held(VK_MENU)) g_chord = chord_t{};
    } else if (!modifier) {
        g_chord = chord_t{};
    } else if (g_chord.field != msg.hwnd && IsHotKeyField(msg.hwnd)) {
        g_chord = chord_t{msg.hwnd, static_cast<WORD>(SendMessageW(msg.hwnd, HKM_GETHOTKEY, 0, 0))};
    }
}

// The field as it was before the page key's modifiers, and told they are up: it never sees
// their release, which goes to the control that has the focus after the turn.
void RestoreChordField(HWND field)
{
    if (g_chord.field != field) return;
    for (WPARAM vk : {VK_CONTROL, VK_SHIFT})
        if (Held(static_cast<int>(vk))) SendMessageW(field, WM_KEYUP, vk, 0xC0000001);
    SendMessageW(field, HKM_SETHOTKEY, g_chord.before, 0);
    g_chord = chord_t{};
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
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    for (Form* form : g_forms) {
        HWND shown = form->Handle();
        if (!shown || (msg.hwnd != shown && !IsChild(shown, msg.hwnd))) continue;
        if (msg.message != WM_KEYDOWN) return WatchChord(msg), false;
        int page = PageAfterKey(form->ActivePage(), form->PageCount(), PageKey(msg.wParam), Held(VK_CONTROL),
                                Held(VK_SHIFT), Held(VK_MENU));
        if (page < 0) return WatchChord(msg), false;
        // Taken before any control, the hot-key field too, as in the system's property
        // sheets: a page key is never recorded as a shortcut.
        RestoreChordField(msg.hwnd);
        form->SelectPage(page);
        // On the tabs, so that the next key lands in no field by surprise.
        SendMessageW(shown, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(form->Tabs()), TRUE);
        return true;
    }
    return false;
}

}  // namespace form
