#include "tests/common/wait.h"

bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (condition()) return true;
        if (GetTickCount() - start >= limitMs) return false;
        // Sleeps until a message arrives or a moment passes, rather than spinning.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

bool WaitPumping(HANDLE object, DWORD limitMs)
{
    return PumpUntil([object] { return WaitForSingleObject(object, 0) == WAIT_OBJECT_0; }, limitMs);
}
