// A host that calls the plug-in back from inside its own functions, and from window
// messages that run while the plug-in works: the event waits for the running one, so
// the result is that of the same two calls made one after the other.

#include <utility>

#include "tests/hint/hint_fixture.h"

namespace {

const struct { const char* name; void (*raise)(); } kEvents[] = {
    {"OnUpdateList", [] { Zlvn_OnUpdateList(); }},
    {"OnActive", [] { Zlvn_OnActive(); }},
    {"OnInactive", [] { Zlvn_OnInactive(); }},
    {"toggle", [] { HintToggleEnable(nullptr); }},
    {"teardown", [] { Zlvn_OnTeardown(); }},
};

// A window message that runs while the plug-in works, seen by a hook of the host's thread.
std::function<bool(const CWPSTRUCT&)> g_hookMatch;
std::function<void()> g_fromHook;

LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT& m = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_fromHook && g_hookMatch(m)) std::exchange(g_fromHook, nullptr)();  // once
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A popup being placed and shown (SWP_SHOWWINDOW) or hidden (SWP_HIDEWINDOW).
std::function<bool(const CWPSTRUCT&)> PopupShowing(UINT flag)
{
    return [flag](const CWPSTRUCT& m) {
        return m.message == WM_WINDOWPOSCHANGING && (reinterpret_cast<const WINDOWPOS*>(m.lParam)->flags & flag) &&
               ClassName(m.hwnd).compare(0, 3, "tag") == 0;
    };
}

// The restore request that a click on the hint of a minimized window sends it.
bool Restoring(const CWPSTRUCT& m) { return m.message == WM_SYSCOMMAND && m.wParam == SC_RESTORE; }

class Reentry : public HintOverlay {
protected:
    void SetUp() override
    {
        HintOverlay::SetUp();
        m_a = Target(RECT{100, 100, 300, 200}, "a");
        m_b = Target(RECT{400, 100, 600, 200}, "b");
        m_c = Target(RECT{100, 300, 300, 400}, "c");
        UseSettingsPath(Wide(m_dir.File("ZlvnHint.ini")));  // teardown writes here
    }
    void TearDown() override { HintOverlay::TearDown(), UseSettingsPath(L""); }

    // A plug-in just set up with the defaults and a host that lists a and b; then the prelude.
    void Fresh(const std::function<void()>& prelude)
    {
        HintOverlay::SetUp();  // as a test starts
        if (IsIconic(m_a)) ShowWindow(m_a, SW_RESTORE);
        AddListItem(m_a, "Alpha");
        AddListItem(m_b, "Bravo");
        prelude();
    }

    // What the host can see of the plug-in; registered: and not yet unregistered.
    std::string Observe() const
    {
        return Describe(HintPopups()) + ", Enable " + std::to_string(HintSettings.Enable) + ", registered " +
               std::to_string(Host().registerCount - Host().unregisterCount);
    }

    // After the last teardown nothing of the plug-in is left.
    void ExpectAllGone(const std::string& what)
    {
        Zlvn_OnTeardown();
        EXPECT_TRUE(HintPopups().byClass.empty()) << what << ": " << Describe(HintPopups());
        EXPECT_TRUE(Host().registerCount == Host().unregisterCount && Host().focusWindows.empty()) << what << ": announced";
    }

    TempDir m_dir;
    HWND m_a = nullptr, m_b = nullptr, m_c = nullptr;
};

}  // namespace

TEST_F(Reentry, EveryRouteAndEventEndsAsTheSameCallsOneAfterTheOther)
{
    struct route_t {
        const char* name;
        const char* hostFunction;  // or null: a window message
        std::function<bool(const CWPSTRUCT&)> message;
        std::function<void()> prelude;
        std::function<void()> outer;
    };
    const route_t routes[] = {
        {"Zlvn_GetList while building", "Zlvn_GetList", nullptr, [] {}, [] { Zlvn_OnActive(); }},
        {"Zlvn_RegisterFocus while building", "Zlvn_RegisterFocus", nullptr, [] {}, [] { Zlvn_OnActive(); }},
        {"Zlvn_RegisterFocus while a refresh adds", "Zlvn_RegisterFocus", nullptr,
         [&] { Zlvn_OnActive(); AddListItem(m_c, "Charlie"); }, [] { Zlvn_OnUpdateList(); }},
        {"Zlvn_UnregisterFocus while a refresh prunes", "Zlvn_UnregisterFocus", nullptr,
         [&] { Zlvn_OnActive(); Host().list.erase(Host().list.begin()); AddListItem(m_c, "Charlie"); },
         [] { Zlvn_OnUpdateList(); }},
        {"Zlvn_UnregisterFocus while tearing down", "Zlvn_UnregisterFocus", nullptr, [] { Zlvn_OnActive(); },
         [] { Zlvn_OnTeardown(); }},
        {"Zlvn_GetQuickOption while the quick options change", "Zlvn_GetQuickOption", nullptr,
         [] { Zlvn_OnActive(); Zlvn_OnInactive(); Host().quickOption[3] = 1; }, [] { Zlvn_OnChangeQuickOption(); }},
        {"Zlvn_GetWindowHandles while switching on", "Zlvn_GetWindowHandles", nullptr,
         [] { Zlvn_OnActive(); HintToggleEnable(nullptr); }, [] { HintToggleEnable(nullptr); }},
        {"Zlvn_ReloadMenu while switching off", "Zlvn_ReloadMenu", nullptr, [] { Zlvn_OnActive(); },
         [] { HintToggleEnable(nullptr); }},
        {"a popup's WM_WINDOWPOSCHANGING while showing", nullptr, PopupShowing(SWP_SHOWWINDOW),
         [&] { Zlvn_OnActive(); Zlvn_OnInactive(); AddListItem(m_c, "Charlie"); }, [] { Zlvn_OnActive(); }},
        {"a popup's WM_WINDOWPOSCHANGING while hiding", nullptr, PopupShowing(SWP_HIDEWINDOW), [] { Zlvn_OnActive(); },
         [] { Zlvn_OnInactive(); }},
        {"the restore wait of a click on a minimized window's hint", nullptr, Restoring,
         [&] { Zlvn_OnActive(); ShowWindow(m_a, SW_MINIMIZE); },
         [&] { SendMessageA(FindWindowA(ClassOf(m_a).c_str(), nullptr), WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
    };
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, MessageHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    int cases = 0;
    for (const route_t& route : routes) {
        for (const auto& event : kEvents) {
            const std::string what = std::string(event.name) + " from " + route.name;
            // The same calls one after the other.
            Fresh(route.prelude);
            route.outer();
            event.raise();
            const std::string expected = Observe();
            ExpectAllGone(what + " (one after the other)");

            // The event from inside the route, once.
            Fresh(route.prelude);
            bool called = false;
            auto callBack = [&called, &event] { called = true, event.raise(); };
            if (route.hostFunction) {
                Host().onCall = [&](const char* fn) { if (!called && strcmp(fn, route.hostFunction) == 0) callBack(); };
            } else {
                g_hookMatch = route.message;
                g_fromHook = callBack;
            }
            route.outer();
            Host().onCall = nullptr;
            g_fromHook = nullptr;
            EXPECT_TRUE(called) << what << ": the route was not taken";
            EXPECT_EQ(expected, Observe()) << what;
            for (const auto& entry : HintPopups().byClass) EXPECT_EQ(1, entry.second) << what << ": " << entry.first;
            ExpectAllGone(what);
            ++cases;
        }
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(55, cases);
}
