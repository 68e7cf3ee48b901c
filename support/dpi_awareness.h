#pragma once
// The plug-in's own windows are per-monitor DPI aware whatever the host is: every entry
// that makes, places, paints or measures them runs inside a PerMonitorDpiScope. The
// functions are looked up at run time (Windows 10 1607 and later, Wine 8), so the
// plug-in loads on systems without them and behaves there as a DPI-unaware program.
#include <windows.h>

constexpr UINT kDesignDpi = 96;  // 100%: the DPI every fixed pixel size is given at

using dpi_context_t = HANDLE;  // DPI_AWARENESS_CONTEXT, absent from headers for Windows 7

// Sets the calling thread's awareness to per-monitor v2 where the system has it, else
// per-monitor (Wine 8 refuses v2), else leaves it; the destructor restores the host's
// context on every path out. The process's awareness is never changed.
class PerMonitorDpiScope {
public:
    PerMonitorDpiScope() noexcept;
    ~PerMonitorDpiScope();
    PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
    PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;

    bool Aware() const { return m_previous != nullptr; }

private:
    dpi_context_t m_previous;
};

// The system's functions in use, or null where missing. Tests put stand-ins here.
struct dpi_functions_t {
    dpi_context_t(WINAPI* setThreadContext)(dpi_context_t);
    UINT(WINAPI* dpiForWindow)(HWND);
    HRESULT(WINAPI* dpiForMonitor)(HMONITOR, int, UINT*, UINT*);  // shcore's GetDpiForMonitor
    int(WINAPI* metricForDpi)(int, UINT);
};
dpi_functions_t& DpiFunctions();

// The DPI a window is shown at: its monitor's under per-monitor awareness. Where the
// system cannot tell, the screen's LOGPIXELSY.
UINT DpiOfWindow(HWND window);
UINT DpiOfMonitor(HMONITOR monitor);
// The DPI of the monitor holding the point (the nearest one).
UINT DpiAtPoint(POINT point);

// GetSystemMetricsForDpi where the system has it, else the metric scaled from the system DPI.
int SystemMetricForDpi(int index, UINT dpi);

// A length given at 96 DPI, at dpi.
inline int ScaleToDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), kDesignDpi); }
