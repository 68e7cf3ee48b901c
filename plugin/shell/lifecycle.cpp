#include "plugin/shell/lifecycle.h"

#include "hint/hint_set.h"
#include "plugin/records/guard.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/forms.h"
#include "plugin/shell/host_events.h"
#include "plugin/shell/persistence.h"

namespace {

enum class Life : unsigned char { Loaded, SetUp, TornDown };

// Events and commands act only while SetUp. The module stays mapped once loaded, so a
// host that loads it again sets it up again after teardown; a set-up while set up is ignored.
Life g_life = Life::Loaded;
// Counts set-ups: a modal command learns whether the session that opened it still runs.
unsigned g_session;
EventGate g_gate;

void SetUp()
{
    // Read again, the file would overwrite changes not yet saved.
    if (g_life == Life::SetUp) {
        g_zlvnAPI.Print(kLogWarning, kPluginName, "%s ignored: already set up", EventEntry(PluginEvent::Setup));
        return;
    }
    SetUpPlugin();
    g_life = Life::SetUp;
    ++g_session;
}

void TearDown()
{
    g_life = Life::TornDown;
    // Step by step, so that the settings are written whatever failed before. The module
    // stays mapped for a later set-up: all that the session made goes now.
    Guarded(EventEntry(PluginEvent::Teardown), [] { CancelOpenForms(); });
    Guarded(EventEntry(PluginEvent::Teardown), [] { DestroyHintWndMgr(); });
    Guarded(EventEntry(PluginEvent::Teardown), [] { FreeVersionBox(); });
    SavePluginSettingsAtTeardown();
}

void Run(PluginEvent event)
{
    if (event == PluginEvent::Setup) {
        SetUp();
        return;
    }
    // Before set-up there is no record to show or write; after teardown anything shown
    // would outlive the session, and a second teardown would write the file again.
    if (g_life != Life::SetUp) return;
    if (event != PluginEvent::Teardown) ReadSettingsIfUnread();
    switch (event) {
    case PluginEvent::Teardown: TearDown(); break;
    case PluginEvent::Option: {
        KeepSettingsAsTheyAre();
        unsigned session = g_session;
        // A dialog that could not be made or shown ends as Cancel: the record is unchanged.
        Guarded(EventEntry(PluginEvent::Option), [] { ShowOptionDialog(); });
        // The host ended the session while the dialog was open: it has no menu of ours from it.
        if (g_life == Life::SetUp && g_session == session) g_zlvnAPI.ReloadMenu(kPluginName);
        break;
    }
    case PluginEvent::Version: ShowVersionBox(); break;
    default: RunHostEvent(event); break;
    }
}

}  // namespace

void RaiseEvent(PluginEvent event) { g_gate.Raise(event, Run); }

void ResetLifecycle(bool setUp) { g_life = setUp ? Life::SetUp : Life::Loaded; }
