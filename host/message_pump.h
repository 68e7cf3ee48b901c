#pragma once
// Message pumping of the calling thread while it waits: the host's and the test programs'.
#include <windows.h>

// Handles every message already queued for this thread.
void PumpPending();

// Pumps this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);
