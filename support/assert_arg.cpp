#include "support/assert_arg.h"

#include <windows.h>

#include <cstdio>

#include "support/bounded_text.h"

void FailNullArgument(const char* i_name, const char* i_file, int i_line)
{
    char text[512];
    FormatText(text, sizeof text, "ZlvnHint: assertion failed: %s is NULL, file %s, line %d\n", i_name, i_file, i_line);
    // Inside a host stderr is usually nowhere; a debugger still sees the line.
    OutputDebugStringA(text);
    fputs(text, stderr);
    fflush(stderr);
    // No abort(): the C runtime may show a dialog first, which would hang a host without a user.
    TerminateProcess(GetCurrentProcess(), 3);
    for (;;) {
    }
}
