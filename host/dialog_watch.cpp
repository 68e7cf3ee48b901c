#include "host/dialog_watch.h"

#include <commctrl.h>

#include <cstring>
#include <map>
#include <set>

#include "host/screenshot.h"
#include "host/text_utf8.h"

namespace {

constexpr DWORD kSettleLimitMs = 10000;
constexpr UINT kActionGapMs = 300;  // lets a shown page paint before the next action

struct Pending {
    HWND dialog;
    size_t next;  // the plan's next action
};

struct Watch {
    HHOOK hook = nullptr;
    HWND owner = nullptr;
    std::function<void(const std::string&)> say;
    const DialogPlan* plan = nullptr;  // set while a planned command runs
    std::map<UINT_PTR, Pending> timers;
    std::set<HWND> seen;
    int closed = 0;
    bool failed = false;
};

Watch g_watch;

void Say(const std::string& line)
{
    if (g_watch.say) g_watch.say(line);
}

bool IsTopLevelDialog(HWND hwnd)
{
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return strcmp(name, "#32770") == 0 && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) == 0;
}

std::string TitleOf(HWND hwnd)
{
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    return "\"" + AnsiToUtf8(title) + "\"";
}

// Shows a page the way a click on its tab does: the tab control selects it and tells
// its parent, which swaps the pages.
bool ShowPage(HWND dialog, int page)
{
    HWND tabs = FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr);
    int count = tabs ? static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    if (page > count) {
        Say("host: the dialog has " + std::to_string(count) + " pages, no page " + std::to_string(page));
        return false;
    }
    SendMessageA(tabs, TCM_SETCURSEL, page - 1, 0);
    NMHDR change = {tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(GetParent(tabs), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    Say("host: page " + std::to_string(page) + " of the dialog");
    return true;
}

bool SaveDialog(HWND dialog, const std::string& file)
{
    RECT rect;
    GetWindowRect(dialog, &rect);
    char full[MAX_PATH] = {};
    GetFullPathNameA(file.c_str(), MAX_PATH, full, nullptr);
    WaitForSettledScreen(kSettleLimitMs);
    bool saved = SaveScreenBitmap(full, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    Say(saved ? std::string("host: screenshot of the dialog ") + full
              : std::string("host: could not save the screenshot to ") + full);
    return saved;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);

void Arm(const Pending& pending, UINT ms)
{
    UINT_PTR id = SetTimer(nullptr, 0, ms, OnTimer);
    if (id != 0) g_watch.timers[id] = pending;
}

// The plan's next step for one dialog: an action, or at the end the close.
void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto it = g_watch.timers.find(id);
    if (it == g_watch.timers.end()) return;
    Pending pending = it->second;
    g_watch.timers.erase(it);
    if (!IsWindow(pending.dialog) || g_watch.plan == nullptr) return;

    const std::vector<DialogAction>& actions = g_watch.plan->actions;
    if (pending.next < actions.size()) {
        const DialogAction& action = actions[pending.next++];
        bool done = action.kind == DialogAction::kPage ? ShowPage(pending.dialog, action.page)
                                                         : SaveDialog(pending.dialog, action.file);
        if (!done) g_watch.failed = true;
        Arm(pending, kActionGapMs);
        return;
    }
    Say("host: closing the dialog " + TitleOf(pending.dialog) + " as Cancel");
    PostMessageA(pending.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ++g_watch.closed;
}

LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && g_watch.owner && IsTopLevelDialog(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr) {
        // Owned by the host window, the dialog stays above it and above the samples
        // that the host window covers.
        SetWindowLongPtrA(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(g_watch.owner));
    } else if (code == HCBT_ACTIVATE && g_watch.plan && IsTopLevelDialog(hwnd) && g_watch.seen.insert(hwnd).second) {
        Say("host: the dialog " + TitleOf(hwnd) + " is open; the script closes it in " +
            std::to_string(g_watch.plan->closeAfterMs) + " ms");
        Arm(Pending{hwnd, 0}, static_cast<UINT>(g_watch.plan->closeAfterMs));
    }
    return CallNextHookEx(g_watch.hook, code, wParam, lParam);
}

}  // namespace

void StartDialogWatch(std::function<void(const std::string&)> say)
{
    g_watch.say = std::move(say);
    if (g_watch.hook == nullptr) g_watch.hook = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

void StopDialogWatch()
{
    if (g_watch.hook) UnhookWindowsHookEx(g_watch.hook);
    g_watch.hook = nullptr;
}

void SetDialogOwner(HWND owner) { g_watch.owner = owner; }

bool RunWithDialogPlan(const DialogPlan& plan, const std::function<void()>& command)
{
    if (plan.closeAfterMs < 0) {
        command();
        return true;
    }
    g_watch.plan = &plan;
    g_watch.seen.clear();
    g_watch.closed = 0;
    g_watch.failed = false;
    command();
    // A dialog that closed early leaves its timer behind.
    for (const auto& timer : g_watch.timers) KillTimer(nullptr, timer.first);
    g_watch.timers.clear();
    g_watch.plan = nullptr;
    if (g_watch.closed == 0) Say("host: no dialog was open to close");
    return g_watch.closed > 0 && !g_watch.failed;
}
