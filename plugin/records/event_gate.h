#pragma once
// Order for the plug-in's entry points. The host may call any of them from inside a
// host function that the plug-in is calling, and window messages may run while the
// plug-in waits; an event that comes while another one runs waits in a short queue
// and runs once the running one has finished, so no event ever sees a half-made
// hint set. The outermost call drains the queue.
#include <cstddef>
#include <deque>

// What the entry points raise; their table (zlvn_interface.h) says which raises which.
enum class PluginEvent : unsigned char {
    Setup,
    Teardown,
    Active,      // switch mode started
    Hide,        // switch mode ended, or a window became active
    UpdateList,  // the host's list changed
    QuickOption, // the host's quick options changed
    Toggle,      // the toggle command
    Option,      // the settings dialog
    Version,     // the version box
};

// The first entry point that raises the event (zlvn_interface.h), for log lines.
const char* EventEntry(PluginEvent event);

// Whether running the event twice in a row does what running it once does; such an
// event is not queued again behind itself.
bool RepeatsAsOne(PluginEvent event);
// Whether the event waits in a modal loop (the two dialogs). Events that come during
// that wait run at once: the host may end the session while a dialog is open.
bool WaitsModally(PluginEvent event);

class EventGate {
public:
    using Runner = void (*)(PluginEvent);

    // A host that answers each of our calls with another event would keep the queue
    // full for ever: after this many events in one drain, events raised meanwhile are
    // dropped, and the ones already waiting still run.
    static constexpr int kStormLimit = 32;

    // Runs the event now with every event it causes after it, or, while an event
    // runs, queues it behind the others. An event whose run throws is reported and
    // ends there; only queuing itself may throw (out of memory), and then nothing changed.
    void Raise(PluginEvent event, Runner run);

    bool Running() const { return m_running; }
    size_t Waiting() const { return m_pending.size(); }

private:
    void Drain(Runner run);

    std::deque<PluginEvent> m_pending;
    bool m_running = false;
    bool m_dropping = false;
};
