#pragma once
// The exception boundary. No C++ exception may leave the plug-in: a host built with
// another compiler cannot unwind it, and neither can the system's frames between a
// window procedure and the message loop. Every entry the host or the system calls (an
// export, a window or dialog procedure, a hook, an enumeration callback) runs its body
// through Guarded, which catches everything, hands one line to the host's log channel
// and ends the call with the entry's failure value.
#include <exception>
#include <new>

// Throws and catches one exception. The runtime makes the locks that unwinding takes
// lazily, with memory; made at load, they are there when an allocation has failed.
void PrepareUnwinding() noexcept;

// One log line "Hint <where> failed: <what>" through the host's channel, if it has one.
void ReportEntryFailure(const char* i_where, const char* i_what) noexcept;

template <typename R, typename Body>
R Guarded(const char* i_where, R failure, Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        ReportEntryFailure(i_where, "out of memory");
    } catch (const std::exception& e) {
        ReportEntryFailure(i_where, e.what());
    } catch (...) {
        ReportEntryFailure(i_where, "unknown exception");
    }
    return failure;
}

template <typename Body>
void Guarded(const char* i_where, Body&& body) noexcept
{
    Guarded(i_where, 0, [&body] {
        body();
        return 0;
    });
}
