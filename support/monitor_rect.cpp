#include "support/monitor_rect.h"

#include "support/last_error.h"

MonitorRect::MonitorRect() { EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(this)); }

BOOL CALLBACK MonitorRect::AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM self)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    // Handed to the system: nothing may leave it. A monitor that cannot be kept (out of
    // memory) ends the enumeration with those kept so far.
    try {
        reinterpret_cast<MonitorRect*>(self)->m_monitors.push_back({monitor, info.rcMonitor, info.rcWork});
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

ResultCode MonitorRect::GetCursorMonitorRect(RECT* o_rect) const
{
    if (o_rect == nullptr) {
        ZLVN_RECORD_FAILURE("o_rect is NULL");
        return ResultCode::InvalidArgument;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &info);
    *o_rect = info.rcMonitor;
    return ResultCode::Normal;
}
