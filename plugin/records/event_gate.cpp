#include "plugin/records/event_gate.h"

#include "plugin/records/guard.h"

namespace {

// The entry point that raised the event, for the log line when running it failed.
const char* EventEntry(PluginEvent event)
{
    switch (event) {
    case PluginEvent::Setup: return "Zlvn_OnSetup";
    case PluginEvent::Teardown: return "Zlvn_OnTeardown";
    case PluginEvent::Active: return "Zlvn_OnActive";
    case PluginEvent::Hide: return "Zlvn_OnInactive";
    case PluginEvent::UpdateList: return "Zlvn_OnUpdateList";
    case PluginEvent::QuickOption: return "Zlvn_OnChangeQuickOption";
    case PluginEvent::Toggle: return "HintToggleEnable";
    case PluginEvent::Option: return "HintOption";
    case PluginEvent::Version: return "HintVersion";
    }
    return "event";
}

// An event that fails ends there; the gate goes on with the next one, never left busy.
void RunOne(EventGate::Runner run, PluginEvent event)
{
    Guarded(EventEntry(event), [run, event] { run(event); });
}

}  // namespace

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
            RunOne(run, event);
            continue;
        }
        // Open for the host while the dialog waits; what comes then runs at once, in order.
        bool dropping = m_dropping;
        m_running = m_dropping = false;
        RunOne(run, event);
        m_running = true;
        m_dropping = dropping;
    }
    m_running = m_dropping = false;
}
