#include "plugin/lifecycle.h"

#include "dialogs/FormAboutBoxUnit.h"
#include "dialogs/HintUnitOpt.h"
#include "hint/hint_set.h"
#include "plugin/host_events.h"
#include "plugin/persistence.h"

namespace {

enum class Life : unsigned char { Loaded, SetUp, TornDown };

Life g_life = Life::Loaded;
EventGate g_gate;

// The dialogs close as their Cancel would: the record keeps what it held before.
void CancelOpenForms()
{
    if (_OKBottomDlg) _OKBottomDlg->Cancel();
    if (_AboutBox) _AboutBox->Cancel();
}

void TearDown()
{
    g_life = Life::TornDown;
    CancelOpenForms();
    DestroyHintWndMgr();
    SavePluginSettings();
}

void Run(PluginEvent event)
{
    if (event == PluginEvent::Setup) {
        SetUpPlugin();
        g_life = Life::SetUp;
        return;
    }
    // Before set-up there is no record to show or write; after teardown anything shown
    // would outlive the session, and a second teardown would write the file again.
    if (g_life != Life::SetUp) return;
    switch (event) {
    case PluginEvent::Teardown: TearDown(); break;
    case PluginEvent::Option: ShowOptionDialog(); break;
    case PluginEvent::Version: ShowVersionBox(); break;
    default: RunHostEvent(event); break;
    }
}

}  // namespace

void RaiseEvent(PluginEvent event) { g_gate.Raise(event, Run); }

bool PluginSetUp() { return g_life == Life::SetUp; }

void ReleaseModule()
{
    // Whatever the host calls while the windows go finds nothing to do.
    g_life = Life::TornDown;
    DestroyHintWndMgr();
    FreeVersionBox();
}

void ResetLifecycle(bool setUp) { g_life = setUp ? Life::SetUp : Life::Loaded; }
