// Both dialogs from the real ZlvnHint.dll, as the host opens them from its menu.

#include "tests/dialogs/dialog_driver.h"

namespace {

// Opens a command's dialog, checks its form variable while shown, closes it.
void RunCommand(const PluginDll& dll, const char* command, const char* title, const char* variable, bool& seen)
{
    void** form = dll.Get<void**>(variable);
    ASSERT_NE(nullptr, form) << variable;
    DialogScript script(command);
    script.Then(std::string("'") + title + "' shown", [title] { return DialogWithTitle(title) != nullptr; })
        .Do("close", [title, form, &seen] {
            seen = *form != nullptr;
            PostMessageA(DialogWithTitle(title), WM_COMMAND, IDCANCEL, 0);
        });
    script.Run([&dll, command] { dll.Command(command); });
    EXPECT_TRUE(script.Completed()) << script.Report();
}

TEST(PluginModule, OpensBothDialogsAgainAfterBeingReloaded)
{
    for (int load = 1; load <= 2; ++load) {
        zlvnhost::ResetHost();
        PluginDll dll;
        ASSERT_TRUE(dll.Load()) << "load " << load << ": " << dll.Error();
        dll.OnSetup();  // the commands answer a set-up plug-in only
        bool optionSeen = false, versionSeen = false;
        RunCommand(dll, "HintOption", "ダイアログ", "_OKBottomDlg", optionSeen);
        EXPECT_TRUE(optionSeen) << "load " << load << ": _OKBottomDlg while shown";
        EXPECT_EQ(nullptr, *dll.Get<void**>("_OKBottomDlg")) << "load " << load << ": cleared after";
        EXPECT_EQ(1, HostCalls("Zlvn_ReloadMenu")) << "load " << load;
        RunCommand(dll, "HintVersion", "バージョン情報", "_AboutBox", versionSeen);
        EXPECT_TRUE(versionSeen) << "load " << load << ": _AboutBox made";
        EXPECT_NE(nullptr, *dll.Get<void**>("_AboutBox")) << "load " << load << ": kept";
        // Unloading frees the kept box and the window class; the next load registers it again.
    }
}

}  // namespace
