// The guard heap and the crash report catch a fault where it is made.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/common/crash_report.h"
#include "tests/common/guard_heap.h"

TEST(GuardHeap, AWritePastTheEndOrAfterAFreeFaultsAtThatWrite)
{
    const struct {
        const char* name;
        std::function<char*()> target;  // where the write goes
        bool faults;
    } rows[] = {
        {"the last byte of a block", [] { return static_cast<char*>(guard_heap::Allocate(24)) + 23; }, false},
        {"one byte past the end", [] { return static_cast<char*>(guard_heap::Allocate(24)) + 24; }, true},
        {"one byte past a block of no bytes", [] { return static_cast<char*>(guard_heap::Allocate(0)) + 8; }, true},
        {"into a freed block", [] {
             char* block = static_cast<char*>(guard_heap::Allocate(24));
             guard_heap::Free(block);
             return block;
         }, true},
    };
    for (const auto& row : rows) {
        char* target = row.target();
        ASSERT_NE(nullptr, target) << row.name;
        crash_report::write_t write = crash_report::WriteOneByte(target);
        EXPECT_EQ(row.faults, write.faulted) << row.name;
        if (!row.faults) continue;
        EXPECT_EQ(write.instruction, write.faultAt) << row.name << ": the fault is raised by the write itself";
        EXPECT_EQ(static_cast<const void*>(target), write.address) << row.name;
        EXPECT_TRUE(write.wasWrite) << row.name;
    }
}

namespace {

constexpr DWORD kRaisedInWindowProcedure = 0xE0000042;

LRESULT CALLBACK RaisingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) RaiseException(kRaisedInWindowProcedure, 0, 0, nullptr);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

// Wine's dispatcher of window procedures drops an exception raised in one and the call
// returns; the test during which that happens fails, naming the exception.
TEST(CrashReport, AnExceptionDroppedInsideAWindowProcedureFailsTheTest)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RaisingProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RaisingProcedure";
    RegisterClassA(&wc);
    HWND window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    EXPECT_NONFATAL_FAILURE(crash_report::FailIfRaised(), "exception E0000042");
    DestroyWindow(window);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}
