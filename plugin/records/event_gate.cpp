#include "plugin/records/event_gate.h"

#include "plugin/records/guard.h"
#include "plugin/records/zlvn_interface.h"

namespace {

// An event that fails ends there; the gate goes on with the next one, never left busy.
void RunOne(EventGate::Runner run, PluginEvent event)
{
    Guarded(EventEntry(event), [run, event] { run(event); });
}

}  // namespace

const char* EventEntry(PluginEvent event)
{
#define ZLVN_ENTRY_OF(name, result, params, bytes, kind, raised, modal, caption) \
    ZLVN_IF_RAISES(kind, if (event == PluginEvent::raised) return #name;)
    ZLVN_PLUGIN_EXPORTS(ZLVN_ENTRY_OF)
#undef ZLVN_ENTRY_OF
    return "event";
}

bool RepeatsAsOne(PluginEvent event) { return event != PluginEvent::Toggle; }

bool WaitsModally(PluginEvent event)
{
#define ZLVN_MODAL_ROW(name, result, params, bytes, kind, raised, modal, caption) \
    ZLVN_IF_RAISES(kind, if (modal && event == PluginEvent::raised) return true;)
    ZLVN_PLUGIN_EXPORTS(ZLVN_MODAL_ROW)
#undef ZLVN_MODAL_ROW
    return false;
}

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
