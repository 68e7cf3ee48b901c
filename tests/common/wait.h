#pragma once
// Waiting for a condition, never for a fixed time: the limit only ends a wait that
// would otherwise never end, and is generous for a loaded machine.
#include <windows.h>

#include <functional>

#include "host/message_pump.h"  // PumpPending: every message already queued, painting included

constexpr DWORD kWaitLimitMs = 10000;

// Pumps this thread's messages until condition() holds; false when the limit passed first.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = kWaitLimitMs);

// Waits on a kernel object while pumping this thread's messages.
bool WaitPumping(HANDLE object, DWORD limitMs = kWaitLimitMs);
