// The two dialogs opened for their commands, and the form variables that point to them.
#include "plugin/shell/forms.h"

#include <memory>

#include "dialogs/FormAboutBoxUnit.h"
#include "dialogs/HintUnitOpt.h"
#include "hint/hint_set.h"
#include "plugin/records/globals.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/persistence.h"

namespace {

// True when the user confirmed with OK, which stores every field in the record.
bool ConfirmedInDialog()
{
    std::unique_ptr<TOKBottomDlg> dialog(new TOKBottomDlg(nullptr));
    g_okBottomDlg = dialog.get();
    // Cleared before the dialog goes, however ShowModal ends.
    struct Clear {
        ~Clear() { g_okBottomDlg = nullptr; }
    } clear;
    return dialog->ShowModal() == IDOK;
}

}  // namespace

void ShowOptionDialog()
{
    // The dialog is modal to this thread's windows; a second request while it is
    // open (a host hot key) only brings it forward.
    if (g_okBottomDlg != nullptr) {
        if (HWND shown = g_okBottomDlg->Handle()) SetForegroundWindow(shown);
        return;
    }
    if (!ConfirmedInDialog()) return;
    HintSettingsChanged();
    // What the user confirmed is in the file at once, not only at teardown.
    SavePluginSettings();
}

void ShowVersionBox()
{
    if (g_aboutBox == nullptr) g_aboutBox = new TAboutBox(nullptr, kPluginName, g_hModule);
    // Already shown (the box is modal to this thread, but a host hot key may still ask).
    if (HWND shown = g_aboutBox->Handle()) {
        SetForegroundWindow(shown);
        return;
    }
    TAboutBox* box = g_aboutBox;
    // However ShowModal ends: a box that teardown let go of while shown goes now.
    struct Done {
        TAboutBox* box;
        TAboutBox* outer;
        ~Done()
        {
            g_session.aboutBoxInLoop = outer;
            if (box != g_aboutBox) delete box;
        }
    } done{box, g_session.aboutBoxInLoop};
    g_session.aboutBoxInLoop = box;
    box->ShowModal();
}

void FreeVersionBox()
{
    TAboutBox* box = g_aboutBox;
    g_aboutBox = nullptr;
    if (box != g_session.aboutBoxInLoop) delete box;
}

void CancelOpenForms()
{
    if (g_okBottomDlg) g_okBottomDlg->Cancel();
    if (g_aboutBox) g_aboutBox->Cancel();
}
