#include "tests/common/dialog_driver.h"

#include "support/dpi_awareness.h"

namespace {

DialogScript* g_running;
constexpr UINT kTickMs = 25;
constexpr int kMaxTries = kWaitLimitMs / kTickMs;  // a step that stalls this long never comes

void CancelThreadDialogs() { for (HWND dialog : ThreadDialogs()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }

HWND FirstDialog(const std::function<bool(HWND)>& match)
{
    std::vector<HWND> dialogs = ThreadDialogs();
    auto found = std::find_if(dialogs.begin(), dialogs.end(), match);
    return found == dialogs.end() ? nullptr : *found;
}

}  // namespace

DialogScript& DialogScript::Then(const std::string& what, Step step)
{
    m_steps.push_back({what, std::move(step)});
    return *this;
}

DialogScript& DialogScript::Painted()
{
    // WaitForScreen pumps the modal loop's messages itself, from inside the step.
    return Do("painted", [] {
        for (HWND dialog : ThreadDialogs()) {
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            EXPECT_TRUE(WaitForScreen(WindowRect(dialog))) << WindowText(dialog) << " kept changing";
        }
    });
}

bool DialogScript::Run(const std::function<void()>& show)
{
    DialogScript* outer = g_running;
    g_running = this;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
    show();
    KillTimer(nullptr, timer);
    g_running = outer;
    return Completed();
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) { if (g_running) g_running->OnTick(); }

void DialogScript::OnTick()
{
    if (m_inStep) return;
    m_inStep = true;
    // The loop runs this timer in the host's context, as any host timer: the steps read
    // the dialog as the plug-in lays it out.
    PerMonitorDpiScope perMonitor;
    bool done = !Completed() && m_steps[m_next].step();
    m_inStep = false;
    if (done) {
        ++m_next;
        m_tries = 0;
    } else if (++m_tries > kMaxTries) {
        // A step stalled, or the script is done while something is still open: close it all.
        m_closedLeftovers = Completed();
        CancelThreadDialogs();
    }
}

std::string DialogScript::Report() const
{
    return m_name + (Completed() ? ": completed" : ": stalled at '" + m_steps[m_next].what + "'");
}

std::vector<HWND> ThreadDialogs()
{
    return ThreadWindows([](HWND hwnd) { return IsWindowVisible(hwnd) && ClassName(hwnd) == "#32770"; });
}

HWND DialogWithControl(int id) { return FirstDialog([id](HWND d) { return GetDlgItem(d, id) != nullptr; }); }
HWND DialogWithTitle(const char* title) { return FirstDialog([title](HWND d) { return WindowText(d) == title; }); }

void PostClick(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PostMouseClick(HWND control)
{
    RECT rc = ClientRect(control);
    LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(control, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND target, UINT vk)
{
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16;
    PostMessageA(target, WM_KEYDOWN, vk, scan | 1);
    PostMessageA(target, WM_KEYUP, vk, scan | 1 | 0xC0000000);
}

// The dialog manager matches accelerators on WM_SYSCHAR; bit 29 is "Alt held".
void PostAltKey(HWND target, char key) { PostMessageA(target, WM_SYSCHAR, static_cast<unsigned char>(key), 0x20000001); }

void TypeKey(UINT vk, unsigned mods)
{
    std::vector<UINT> keys;  // pressed in this order, released in the reverse
    const UINT modKeys[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (int i = 0; i < 3; ++i)
        if (mods & (1u << i)) keys.push_back(modKeys[i]);
    keys.push_back(vk);
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        bool up = i >= keys.size();
        UINT code = keys[up ? inputs.size() - 1 - i : i];
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki = {static_cast<WORD>(code), static_cast<WORD>(MapVirtualKeyA(code, 0)), up ? KEYEVENTF_KEYUP : 0u, 0, 0};
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void UnderlineAndApply(HWND chooser)
{
    SendDlgItemMessageA(chooser, chx2, BM_SETCHECK, BST_CHECKED, 0);
    for (int id : {chx2, psh3})
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(chooser, id)));
}

LOGFONTA FontOf(HFONT font)
{
    LOGFONTA logical = {};
    GetObjectA(font, sizeof logical, &logical);
    return logical;
}

std::string FontText(const LOGFONTA& f)
{
    char flags[4] = {char('0' + !!f.lfItalic), char('0' + !!f.lfUnderline), char('0' + !!f.lfStrikeOut), 0};
    return std::string(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " " + std::to_string(f.lfWeight) + " " + flags;
}

RECT RectIn(HWND window, HWND container)
{
    RECT rc = WindowRect(window);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void ExpectCommonControls6(const std::string& what, HWND dialog)
{
    HMODULE code = nullptr;
    char path[MAX_PATH] = {};
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(GetWindowLongPtrW(GetDlgItem(dialog, IDOK), GWLP_WNDPROC)), &code);
    GetModuleFileNameA(code, path, MAX_PATH);
    EXPECT_TRUE(strstr(CharLowerA(path), "microsoft.windows.common-controls_6595b64144ccf1df_6.")) << what << ": OK run by " << path;
}

bool WindowShowsColour(HWND window, COLORREF colour) { return ScreenPixels(WindowRect(window)).Contains(colour); }

const char* ControlName(const form::Description& form, int row)
{
    static const std::vector<const char*> option = {OPTION_DIALOG_CONTROLS(FORM_CONTROL_NAME)};
    static const std::vector<const char*> about = {ABOUT_BOX_CONTROLS(FORM_CONTROL_NAME)};
    const auto* names = &form == &OKBottomDlgForm() ? &option : &form == &AboutBoxForm() ? &about : nullptr;
    if (!names) return "(unknown form)";
    return row >= 0 && static_cast<size_t>(row) < names->size() ? (*names)[row] : "(none)";
}
