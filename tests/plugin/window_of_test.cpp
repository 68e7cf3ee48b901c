// A window of ours finds its object from its first message to WM_NCDESTROY, and a member
// that throws ends in the entry's failure value, not in the caller's frames.
#include "tests/common/wine_test.h"

#include <stdexcept>

#include "plugin/records/window_of.h"

namespace {

constexpr char kWhere[] = "ProbeProc";
constexpr UINT kThrow = WM_USER + 1, kAnswer = WM_USER + 2;
int g_probesAlive;

struct Probe {
    Probe() { ++g_probesAlive; }
    ~Probe() { --g_probesAlive; }
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE) sawCreate = true;
        if (msg == kThrow) throw std::runtime_error("probe");
        if (msg == kAnswer) return 42;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    bool sawCreate = false;
};
using ProbeOf = WindowOf<Probe, &Probe::OnMessage, kWhere>;

}  // namespace

TEST(WindowOf, ObjectFromFirstMessageToTheLast)
{
    const struct { const char* name; WNDPROC proc; bool passed; } cases[] = {
        {"passed by the creator", ProbeOf::WindowProc, true}, {"made by the window", ProbeOf::OwningWindowProc, false}};
    for (const auto& c : cases) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = c.proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WindowOfProbe";
        ASSERT_NE(0, RegisterClassA(&wc)) << c.name;
        Probe passed;
        HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                    c.passed ? &passed : nullptr);
        ASSERT_NE(nullptr, hwnd) << c.name;
        Probe* found = ProbeOf::Of(hwnd);
        EXPECT_TRUE(found && found->sawCreate && (found == &passed) == c.passed) << c.name << ": found at WM_NCCREATE";
        EXPECT_EQ(42, SendMessageA(hwnd, kAnswer, 0, 0)) << c.name << ": the member answers";
        EXPECT_EQ(0, SendMessageA(hwnd, kThrow, 0, 0)) << c.name << ": a throw ends in the failure value";
        EXPECT_EQ(c.passed ? 1 : 2, g_probesAlive) << c.name << ": the window's own object lives with it";
        DestroyWindow(hwnd);
        EXPECT_EQ(1, g_probesAlive) << c.name << ": the window's own object goes with it, the creator's stays";
        UnregisterClassA(wc.lpszClassName, wc.hInstance);
    }
}
