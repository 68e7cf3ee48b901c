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
    // A second teardown writes nothing, and before set-up there is no record to write.
    if (g_life == Life::TornDown) return;
    bool save = g_life == Life::SetUp;
    g_life = Life::TornDown;
    CancelOpenForms();
    DestroyHintWndMgr();
    if (save) SavePluginSettings();
}

void Run(PluginEvent event)
{
    switch (event) {
    case PluginEvent::Setup:
        SetUpPlugin();
        g_life = Life::SetUp;
        return;
    case PluginEvent::Teardown: TearDown(); return;
    default: break;
    }
    // After teardown nothing is shown or opened: it would outlive the session.
    if (g_life == Life::TornDown) return;
    if (event == PluginEvent::Option) ShowOptionDialog();
    else if (event == PluginEvent::Version) ShowVersionBox();
    else RunHostEvent(event);
}

}  // namespace

void RaiseEvent(PluginEvent event) { g_gate.Raise(event, Run); }

bool TornDown() { return g_life == Life::TornDown; }

void ReleaseModule()
{
    // Whatever the host calls while the windows go finds nothing to do.
    g_life = Life::TornDown;
    DestroyHintWndMgr();
    FreeVersionBox();
}

void ResetLifecycle() { g_life = Life::Loaded; }
