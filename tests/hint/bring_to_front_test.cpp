// Foreground switching: the hint's thread joins the foreground thread's input only while
// that thread answers, and the window is offered the foreground either way.

#include "hint/bring_to_front.h"
#include "tests/common/import_patch.h"
#include "tests/hint/hint_fixture.h"

namespace {

decltype(&AttachThreadInput) g_attach;
DWORD g_watched;    // the foreground thread
int g_joins;        // attachments to it

BOOL WINAPI CountingAttach(DWORD self, DWORD other, BOOL attach)
{
    if (attach && other == g_watched) ++g_joins;
    return g_attach(self, other, attach);
}

const struct { const char* name; ThreadWindowKind foreground; int joins; } kFrontCases[] = {
    {"a foreground window that answers", ThreadWindowKind::Answers, 1},
    {"a hung foreground window", ThreadWindowKind::Hung, 0},
};

// Wine counts a window as hung after 5 s without a look at its messages.
constexpr DWORD kHungLimitMs = 3 * kWaitLimitMs;

}  // namespace

TEST_F(HintOverlay, OffersTheForegroundAndJoinsOnlyAnAnsweringForegroundThread)
{
    for (const auto& c : kFrontCases) {
        // Of a thread of its own, as the windows of the host's list are.
        ThreadWindow target(ThreadWindowKind::Answers, RECT{100, 100, 400, 300});
        ThreadWindow front(c.foreground);
        ASSERT_NE(nullptr, front.Window()) << c.name;
        // Asked again until it holds: Wine may hand the foreground to its desktop meanwhile.
        ASSERT_TRUE(PumpUntil([&] {
            return SetForegroundWindow(front.Window()) && GetForegroundWindow() == front.Window();
        })) << c.name;
        if (c.foreground == ThreadWindowKind::Hung) {
            ASSERT_TRUE(PumpUntil([&] { return IsHungAppWindow(front.Window()) != FALSE; }, kHungLimitMs)) << c.name;
        }

        ImportPatch patch(GetModuleHandleA(nullptr), "user32.dll", "AttachThreadInput",
                          reinterpret_cast<void*>(CountingAttach));
        ASSERT_TRUE(patch.Patched());
        g_attach = reinterpret_cast<decltype(g_attach)>(patch.Original());
        g_watched = front.ThreadId();
        g_joins = 0;
        BringWindowToFront(target.Window());
        EXPECT_EQ(c.joins, g_joins) << c.name;
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == target.Window(); }))
            << c.name << ": offered the foreground";
    }
}
