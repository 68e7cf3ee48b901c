#pragma once
// The display monitors and the one under the mouse cursor.
#include <windows.h>

#include <vector>

#include "support/result_code.h"

struct dispinfo_t {
    HMONITOR hMonitor;
    RECT rcMonitor;  // virtual-screen coordinates
    RECT rcWork;     // without task bars
};

class MonitorRect {
public:
    // Lists every monitor in the system's enumeration order.
    MonitorRect();

    // The full rectangle of the monitor under the cursor, or of the primary monitor
    // when the cursor is on none. Asks the system afresh. InvalidArgument for a null o_rect.
    ResultCode GetCursorMonitorRect(RECT* o_rect) const;

    const std::vector<dispinfo_t>& Monitors() const { return m_monitors; }

private:
    static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM self);

    std::vector<dispinfo_t> m_monitors;
};
