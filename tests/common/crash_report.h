#pragma once
// What a test program says of an exception raised in it, at once and without the heap:
// the code, the faulting address and the stack's return addresses, each as module+offset.
// An exception that nothing handles ends the program there, with no debugger to wait for.
// One that something caught and dropped (under Wine, the dispatcher of window procedures,
// hooks and timer callbacks ignores them; 32-bit Windows may crash instead) fails the test
// during which it was raised.
#include <windows.h>

#include <string>

namespace crash_report {

// In main, before the tests run.
void Install();

// The exceptions raised since the last call and not fatal, one line each; and forgotten.
std::string TakeRaised();
// Fails the running test for each exception TakeRaised finds.
void FailIfRaised();

// Writes one byte at address with one known instruction; a fault there is stepped over
// and told, not reported.
struct write_t {
    bool faulted = false;
    const void* instruction = nullptr;  // of the write
    const void* faultAt = nullptr;      // where the fault was raised
    const void* address = nullptr;      // that the fault names
    bool wasWrite = false;              // the fault names a write
};
write_t WriteOneByte(void* address);

}  // namespace crash_report
