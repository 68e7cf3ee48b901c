#pragma once
// Waits on the host's window thread without making the host look hung.
#include <windows.h>

// Waits up to i_ms for i_object (null: only the time passes), in short steps between
// which messages that other threads send to this thread's windows are answered. Posted
// messages stay queued: nothing of the host or the plug-in runs inside the wait. True
// when the object was signalled or abandoned.
bool WaitAnsweringSentMessages(HANDLE i_object, DWORD i_ms);
