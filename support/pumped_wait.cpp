#include "support/pumped_wait.h"

namespace {

// Short enough that a caller sending to the host's windows gets its answer at once.
constexpr DWORD kStepMs = 20;

// PM_QS_SENDMESSAGE with PM_NOREMOVE delivers only the sent messages; the peek itself
// also tells the system that the thread still looks at its queue.
void AnswerSentMessages()
{
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool WaitAnsweringSentMessages(HANDLE i_object, DWORD i_ms)
{
    const DWORD start = GetTickCount();
    const DWORD count = i_object ? 1 : 0;
    for (;;) {
        AnswerSentMessages();
        const DWORD passed = GetTickCount() - start;
        if (passed >= i_ms) return false;
        const DWORD step = i_ms - passed < kStepMs ? i_ms - passed : kStepMs;
        DWORD woke = MsgWaitForMultipleObjectsEx(count, count ? &i_object : nullptr, step, QS_SENDMESSAGE, 0);
        if (count && (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED_0)) return true;
        if (woke == WAIT_FAILED) Sleep(step);  // a handle the wait refuses: the time passes all the same
    }
}
