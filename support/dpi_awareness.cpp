#include "support/dpi_awareness.h"

#include "support/owners.h"
#include "support/proc_address.h"
#include "support/system_module.h"

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
const dpi_context_t kPerMonitorV2 = reinterpret_cast<dpi_context_t>(static_cast<INT_PTR>(-4));
const dpi_context_t kPerMonitor = reinterpret_cast<dpi_context_t>(static_cast<INT_PTR>(-3));
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

dpi_functions_t LoadDpiFunctions()
{
    dpi_functions_t f = {};
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
        f.setThreadContext = As<decltype(f.setThreadContext)>(GetProcAddress(user, "SetThreadDpiAwarenessContext"));
        f.dpiForWindow = As<decltype(f.dpiForWindow)>(GetProcAddress(user, "GetDpiForWindow"));
        f.metricForDpi = As<decltype(f.metricForDpi)>(GetProcAddress(user, "GetSystemMetricsForDpi"));
    }
    // Kept loaded for the life of the process.
    if (HMODULE shcore = LoadSystemModule(L"shcore.dll"))
        f.dpiForMonitor = As<decltype(f.dpiForMonitor)>(GetProcAddress(shcore, "GetDpiForMonitor"));
    return f;
}

// The context the host's thread had before the outermost of our scopes; null outside them.
thread_local dpi_context_t t_hostContext = nullptr;

UINT ScreenDpi() { return static_cast<UINT>(GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY)); }

}  // namespace

Seam<dpi_functions_t>& DpiFunctions()
{
    static Seam<dpi_functions_t> functions(LoadDpiFunctions);
    return functions;
}

PerMonitorDpiScope::PerMonitorDpiScope() noexcept : m_previous(nullptr), m_outerHost(t_hostContext)
{
    auto set = DpiFunctions().Get().setThreadContext;
    if (set == nullptr) return;
    m_previous = set(kPerMonitorV2);
    if (m_previous == nullptr) m_previous = set(kPerMonitor);
    if (t_hostContext == nullptr) t_hostContext = m_previous;
}

PerMonitorDpiScope::~PerMonitorDpiScope()
{
    if (m_previous) DpiFunctions().Get().setThreadContext(m_previous);
    t_hostContext = m_outerHost;
}

HostDpiScope::HostDpiScope() noexcept : m_ours(nullptr), m_host(t_hostContext)
{
    if (m_host) m_ours = DpiFunctions().Get().setThreadContext(m_host);
    t_hostContext = nullptr;
}

HostDpiScope::~HostDpiScope()
{
    if (m_ours) DpiFunctions().Get().setThreadContext(m_ours);
    t_hostContext = m_host;
}

bool InOurDpiScope() { return t_hostContext != nullptr; }

UINT DpiOfMonitor(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    auto read = DpiFunctions().Get().dpiForMonitor;
    if (read && monitor && SUCCEEDED(read(monitor, kEffectiveDpi, &x, &y)) && y != 0) return y;
    return ScreenDpi();
}

UINT DpiAtPoint(POINT point) { return DpiOfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

int SystemMetricForDpi(int index, UINT dpi)
{
    if (auto metric = DpiFunctions().Get().metricForDpi) return metric(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}
