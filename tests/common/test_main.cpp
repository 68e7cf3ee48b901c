// The main of every test program: crashes are reported as crashes, and with
// ZLVN_GUARD_HEAP=1 the program and the plug-in it loads allocate from the guard heap.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/common/crash_report.h"
#include "tests/common/guard_heap.h"

int main(int argc, char** argv)
{
    const char* guard = getenv("ZLVN_GUARD_HEAP");
    if (guard && strcmp(guard, "1") == 0 && !guard_heap::Cover(GetModuleHandleA(nullptr))) {
        fprintf(stderr, "the guard heap could not reserve its arena\n");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    crash_report::Install();
    return RUN_ALL_TESTS();
}
