#include "plugin/shell/lifecycle.h"

#include "hint/hint_set.h"
#include "plugin/records/globals.h"
#include "plugin/records/guard.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/forms.h"
#include "plugin/shell/globals.h"
#include "plugin/shell/host_events.h"
#include "plugin/shell/persistence.h"

plugin_session_t g_session;

namespace {

void SetUp()
{
    // Read again, the file would overwrite changes not yet saved.
    if (g_session.life == Life::SetUp) {
        g_zlvnAPI.Print(kLogWarning, kPluginName, "%s ignored: already set up", EventEntry(PluginEvent::Setup));
        return;
    }
    SetUpPlugin();
    g_session.life = Life::SetUp;
    ++g_session.setUps;
}

void TearDown()
{
    g_session.life = Life::TornDown;
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
    if (g_session.life != Life::SetUp) return;
    if (event != PluginEvent::Teardown) ReadSettingsIfUnread();
    // The read waits for the file's lock answering the host's messages; while a dialog's
    // command runs, a teardown answered there runs at once, and nothing may open after it.
    if (g_session.life != Life::SetUp) return;
    switch (event) {
    case PluginEvent::Teardown: TearDown(); break;
    case PluginEvent::Option: {
        KeepSettingsAsTheyAre();
        const unsigned setUps = g_session.setUps;
        // A dialog that could not be made or shown ends as Cancel: the record is unchanged.
        Guarded(EventEntry(PluginEvent::Option), [] { ShowOptionDialog(); });
        // The host ended the session while the dialog was open: it has no menu of ours from it.
        if (g_session.life == Life::SetUp && g_session.setUps == setUps) g_zlvnAPI.ReloadMenu(kPluginName);
        break;
    }
    case PluginEvent::Version: ShowVersionBox(); break;
    default: RunHostEvent(event); break;
    }
}

}  // namespace

void RaiseEvent(PluginEvent event) { g_session.gate.Raise(event, Run); }
