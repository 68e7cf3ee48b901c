#pragma once
// The plug-in's own windows are per-monitor DPI aware whatever the host is: every entry
// that makes, places, paints or measures them runs inside a PerMonitorDpiScope. The
// functions are looked up at run time (Windows 10 1607 and later, Wine 8), so the
// plug-in loads on systems without them and behaves there as a DPI-unaware program.
#include <windows.h>

#include "support/seam.h"

using dpi_context_t = HANDLE;  // DPI_AWARENESS_CONTEXT, absent from headers for Windows 7

// Sets the calling thread's awareness to per-monitor v2 where the system has it, else
// per-monitor (Wine 8 refuses v2), else leaves it; the destructor restores the host's
// context on every path out. The process's awareness is never changed. The outermost
// scope of a thread remembers the host's context for HostDpiScope.
class PerMonitorDpiScope {
public:
    PerMonitorDpiScope() noexcept;
    ~PerMonitorDpiScope();
    PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
    PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;

    bool Aware() const { return m_previous != nullptr; }

private:
    dpi_context_t m_previous;
    dpi_context_t m_outerHost;  // the host's context as the enclosing scopes knew it
};

// Around the host's own code run from inside our scopes (a call into the host, a host
// timer our modal loop dispatches): the thread is in the context the host had before
// our entry, and back in ours after it. A window the host makes there is the host's kind.
// Outside our scopes it changes nothing. The host may call us back meanwhile: that entry
// takes the host's context as its own starting point.
class HostDpiScope {
public:
    HostDpiScope() noexcept;
    ~HostDpiScope();
    HostDpiScope(const HostDpiScope&) = delete;
    HostDpiScope& operator=(const HostDpiScope&) = delete;

private:
    dpi_context_t m_ours;
    dpi_context_t m_host;
};

// Whether one of our scopes changed the thread's context: the host's code then needs its own back.
bool InOurDpiScope();

// The system's functions in use, or null where missing; tests stand in through the seam.
struct dpi_functions_t {
    dpi_context_t(WINAPI* setThreadContext)(dpi_context_t);
    UINT(WINAPI* dpiForWindow)(HWND);
    HRESULT(WINAPI* dpiForMonitor)(HMONITOR, int, UINT*, UINT*);  // shcore's GetDpiForMonitor
    int(WINAPI* metricForDpi)(int, UINT);
};
Seam<dpi_functions_t>& DpiFunctions();

// The DPI a monitor shows at under per-monitor awareness. Where the system cannot tell,
// the screen's LOGPIXELSY.
UINT DpiOfMonitor(HMONITOR monitor);
// The DPI of the monitor holding the point (the nearest one).
UINT DpiAtPoint(POINT point);

// GetSystemMetricsForDpi where the system has it, else the metric scaled from the system DPI.
int SystemMetricForDpi(int index, UINT dpi);
