// Both dialogs from the real ZlvnHint.dll, as the host opens them from its menu.

#include "tests/common/dialog_driver.h"

namespace {

// Opens a command's dialog, checks that its form variable is set while shown, closes it.
void RunCommand(const PluginDll& dll, const char* command, const char* title, const char* variable)
{
    void** form = dll.Get<void**>(variable);
    ASSERT_NE(nullptr, form) << variable;
    bool seen = false;
    DialogScript script(command);
    script.AtDialog(std::string("'") + title + "' shown, cancelled", title, [form, &seen, title](HWND dialog) {
        seen = *form != nullptr;
        ExpectCommonControls6(title, dialog);  // the module's own manifest
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(script.Run([&dll, command] { dll.Command(command); })) << script.Report();
    EXPECT_TRUE(seen) << variable << " while shown";
}

TEST(PluginModule, OpensBothDialogsAgainAfterBeingReloaded)
{
    for (int load = 1; load <= 2; ++load) {
        SCOPED_TRACE("load " + std::to_string(load));
        zlvnhost::ResetHost();
        PluginDll dll;
        ASSERT_TRUE(dll.Load()) << dll.Error();
        dll.OnSetup();  // the commands answer a set-up plug-in only
        RunCommand(dll, "HintOption", "ダイアログ", "_OKBottomDlg");
        EXPECT_EQ(nullptr, *dll.Get<void**>("_OKBottomDlg")) << "cleared after";
        EXPECT_EQ(1, HostCalls("Zlvn_ReloadMenu"));
        RunCommand(dll, "HintVersion", "バージョン情報", "_AboutBox");
        EXPECT_NE(nullptr, *dll.Get<void**>("_AboutBox")) << "kept";
        // Unloading frees the kept box and the window class; the next load registers it again.
    }
}

}  // namespace
