#include "plugin/records/event_gate.h"

bool RepeatsAsOne(PluginEvent event) { return event != PluginEvent::Toggle; }

bool WaitsModally(PluginEvent event) { return event == PluginEvent::Option || event == PluginEvent::Version; }

void EventGate::Raise(PluginEvent event, Runner run)
{
    if (m_dropping) return;
    if (!(RepeatsAsOne(event) && !m_pending.empty() && m_pending.back() == event)) m_pending.push_back(event);
    if (!m_running) Drain(run);
}

void EventGate::Drain(Runner run)
{
    m_running = true;
    int ran = 0;
    while (!m_pending.empty()) {
        if (++ran > kStormLimit) m_dropping = true;
        PluginEvent event = m_pending.front();
        m_pending.pop_front();
        if (!WaitsModally(event)) {
            run(event);
            continue;
        }
        // Open for the host while the dialog waits; what comes then runs at once, in order.
        bool dropping = m_dropping;
        m_running = m_dropping = false;
        run(event);
        m_running = true;
        m_dropping = dropping;
    }
    m_running = m_dropping = false;
}
