#pragma once
// The outcome of an operation of several system calls: success, or the step that failed
// with the system's error code, for a caller that reports it.
#include <windows.h>

struct StepResult {
    const char* failedStep = nullptr;  // null: every step succeeded
    DWORD error = 0;

    bool Ok() const { return failedStep == nullptr; }
};
