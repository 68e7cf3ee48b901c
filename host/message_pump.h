#pragma once
// Message pumping of the host's one thread, while it waits for something.
#include <windows.h>

// Handles every message already queued for this thread.
void PumpPending();

// Pumps this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);
