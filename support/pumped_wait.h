#pragma once
// Waits on the host's window thread without making the host look hung.
#include <windows.h>

// Waits up to i_ms for i_object (null: only the time passes), in short steps between
// which messages that other threads send to this thread's windows are answered: their
// window procedures run inside the wait, the host's too, and may call the plug-in.
// Posted messages, input and timers stay queued. True when the object was signalled or
// abandoned.
bool WaitAnsweringSentMessages(HANDLE i_object, DWORD i_ms);
