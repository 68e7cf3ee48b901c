// The real ZlvnHint.dll through a whole session: the host's events, teardown and unloading
// inside the dialogs' modal loops, calls before set-up and after teardown, unloading with windows left.

#include <thread>

#include "plugin/records/zlvn_interface.h"
#include "tests/common/dialog_driver.h"

namespace {

constexpr char kOptionTitle[] = "ダイアログ";
constexpr char kVersionTitle[] = "バージョン情報";
constexpr char kSwatchClass[] = "ZlvnColorSwatch";

HWND MakeListedWindow(int left, const char* text)
{
    HWND hwnd = MakeTarget(RECT{left, 100, left + 200, 200}, text);
    zlvnhost::AddListItem(hwnd, text);
    return hwnd;
}

// A command that must open nothing: a dialog that opens anyway is cancelled.
void CommandOpeningNothing(const PluginDll& dll, const char* command)
{
    DialogScript(command).Run([&dll, command] { dll.Command(command); });
}

// A session with hints shown, ended by teardown; the file it wrote is deleted.
void EndSessionAndDeleteTheFile(const PluginDll& dll)
{
    dll.OnSetup();
    dll.Call("Zlvn_OnActive");
    dll.OnTeardown();
    DeleteFileA(dll.Dir().File("ZlvnHint.ini").c_str());
}

// Nothing of the plug-in is left: no popup, no hint class, no registered window.
void ExpectNothingLeft(HMODULE module, HWND target, const std::string& what)
{
    EXPECT_TRUE(HintPopups().byClass.empty()) << what << ": " << Describe(HintPopups());
    EXPECT_FALSE(ClassRegistered(ClassOf(target), module)) << what;
    EXPECT_FALSE(ClassRegistered(kSwatchClass, module)) << what;
    EXPECT_TRUE(ThreadDialogs().empty()) << what;
    EXPECT_EQ(Host().registerCount, Host().unregisterCount) << what;
}

// One session with a dialog open: what the rows of kInsideADialog act on.
struct session_t {
    PluginDll dll;
    HWND listed = nullptr, later = nullptr;  // listed from the start; listed inside the dialog
    std::string ini, before;                 // the settings file, and its bytes before the dialog
    DialogScript* script = nullptr;
    bool returned = false;  // the command returned with its script completed
};

// One behaviour a row, in the order the session meets them: each row starts where the one
// before it left off. inTheDialog runs inside the dialog's modal loop, afterwards once the
// command returned.
struct behaviour_t { const char* name; void (*inTheDialog)(session_t&); void (*afterwards)(session_t&); };
const behaviour_t kInsideADialog[] = {
    {"Zlvn_OnInactive ends the mode", [](session_t& s) {
         s.dll.Call("Zlvn_OnInactive");
         EXPECT_EQ(0, HintPopups().visible);
     }, nullptr},
    {"Zlvn_OnActive starts it with a window listed meanwhile", [](session_t& s) {
         zlvnhost::AddListItem(s.later, "Bravo");
         s.dll.Call("Zlvn_OnActive");
         EXPECT_EQ(2, HintPopups().visible);
     }, nullptr},
    {"Zlvn_OnUpdateList takes the hint of a window the list lost", [](session_t& s) {
         Host().list.pop_back();
         s.dll.Call("Zlvn_OnUpdateList");
         EXPECT_EQ(1u, HintPopups().byClass.size());
     }, nullptr},
    {"HintToggleEnable switches the hints off", [](session_t& s) {
         s.dll.Command("HintToggleEnable");
         EXPECT_EQ(0, HintPopups().visible);
     }, nullptr},
    {"HintToggleEnable switches them on again", [](session_t& s) {
         s.dll.Command("HintToggleEnable");
         EXPECT_EQ(1, HintPopups().visible);
     }, nullptr},
    // The host frees the module right after teardown, in the same step: teardown ends the dialog's loop.
    {"teardown takes every hint away", [](session_t& s) {
         s.dll.OnTeardown();
         EXPECT_TRUE(HintPopups().byClass.empty()) << Describe(HintPopups());
         s.dll.Unload();
     }, nullptr},
    {"the command returns though the host freed the module at once (it stays mapped)", nullptr,
     [](session_t& s) { EXPECT_TRUE(s.returned) << s.script->Report(); }},
    {"teardown closed the dialog, not the script after it", nullptr,
     [](session_t& s) { EXPECT_FALSE(s.script->ClosedLeftovers()); }},
    {"as Cancel: the file holds the settings of before the dialog", nullptr,
     [](session_t& s) { EXPECT_EQ(s.before, ReadWholeFile(s.ini)); }},
    {"the menu reloaded for the two toggles only, none after teardown", nullptr,
     [](session_t&) { EXPECT_EQ(2, HostCalls("Zlvn_ReloadMenu")); }},
    {"loaded again, the module holds no settings dialog", nullptr,
     [](session_t& s) { EXPECT_EQ(nullptr, *s.dll.Get<void**>("_OKBottomDlg")); }},
    {"nothing of the plug-in is left", nullptr, [](session_t& s) { ExpectNothingLeft(s.dll.Module(), s.listed, "after"); }},
    {"set up again, the hints show", nullptr, [](session_t& s) {
         s.dll.OnSetup();
         WriteWholeFile(s.ini, "[General]\r\nEnable=0\r\n");
         s.dll.OnSetup();  // set up already: the file is not read
         s.dll.Call("Zlvn_OnActive");
         EXPECT_EQ(1, HintPopups().visible);
     }},
    {"a set-up while set up reads nothing and logs one line", nullptr,
     [](session_t&) { EXPECT_EQ("3 Hint Zlvn_OnSetup ignored: already set up\n", HostLog()); }},
};

// Loaded and set up, the settings file written once, a hint shown over the window listed.
bool StartSession(session_t& s, const char* name)
{
    zlvnhost::ResetHost();
    s.listed = MakeListedWindow(100, "Alpha");
    s.later = MakeTarget(RECT{400, 100, 600, 200}, "Bravo");
    if (!s.dll.Load()) {
        ADD_FAILURE() << name << ": " << s.dll.Error();
        return false;
    }
    s.ini = s.dll.Dir().File("ZlvnHint.ini");
    s.dll.OnSetup();
    s.dll.OnTeardown();
    s.before = ReadWholeFile(s.ini);  // the settings in the writer's form
    s.dll.OnSetup();
    s.dll.Call("Zlvn_OnActive");
    EXPECT_EQ(1, HintPopups().visible) << name;
    return HintPopups().visible == 1;
}

}  // namespace

// The host's messages run inside the dialogs' modal loops, and teardown inside them closes
// the dialog as Cancel would: each dialog a session, each behaviour a row of kInsideADialog.
TEST(PluginSession, TeardownInsideADialogClosesItAsCancel)
{
    enum over_t { Plain, FontApplied, WidthRefused };  // what is open over the dialog at teardown
    const struct { const char* name; const char* command; const char* title; over_t over; } cases[] = {
        {"settings dialog", "HintOption", kOptionTitle, Plain},
        {"settings dialog, font chooser open after Apply", "HintOption", kOptionTitle, FontApplied},
        {"settings dialog, OK refused for the width", "HintOption", kOptionTitle, WidthRefused},
        {"version box", "HintVersion", kVersionTitle, Plain},
    };
    for (const auto& c : cases) {
        session_t s;
        if (!StartSession(s, c.name)) return;

        DialogScript script(c.name);
        s.script = &script;
        script.Then("shown", [&c] { return DialogWithTitle(c.title) != nullptr; });
        if (c.over == WidthRefused) {
            script.Do("a width that is no number, OK", [] {
                      HWND width = ChildWithText(DialogWithTitle(kOptionTitle), "0");
                      ASSERT_EQ(std::string("Edit"), ClassName(width));
                      SetWindowTextA(width, "x");
                      PostClick(ChildWithText(DialogWithTitle(kOptionTitle), "OK"));
                  })
                .Then("the refusal shown", [] { return DialogWithTitle("Hint") != nullptr; });
        }
        if (c.over == FontApplied) {
            script.Do("open the font chooser", [] { PostClick(ChildWithText(DialogWithTitle(kOptionTitle), "フォント(&F)")); })
                .AtDialog("underline and Apply", psh3, UnderlineAndApply);
        }
        auto trace = [&c](const behaviour_t& b) { return std::string(c.name) + ": " + b.name; };
        for (const behaviour_t& b : kInsideADialog)
            if (b.inTheDialog) script.Do(b.name, [&] {
                SCOPED_TRACE(trace(b));
                b.inTheDialog(s);
            });
        s.returned = script.Run([&] { s.dll.Command(c.command); });
        ASSERT_TRUE(s.dll.Load()) << c.name << ": loaded again";
        for (const behaviour_t& b : kInsideADialog) {
            SCOPED_TRACE(trace(b));
            if (b.afterwards) b.afterwards(s);
        }
        s.dll.OnTeardown();
        s.dll.Unload();
        DestroyWindow(s.listed);
        DestroyWindow(s.later);
    }
}

// Whatever the host calls out of turn does no harm, and nothing of the plug-in
// outlives teardown.
TEST(PluginSession, OutOfTurnCallsAndUnloadLeaveNothing)
{
    const struct { const char* name; bool fileWritten; std::function<void(PluginDll&)> run; } cases[] = {
        {"events and teardown before set-up", false, [](PluginDll& dll) {
             Host().quickOption[3] = 1;
             for (const char* event : {"Zlvn_OnActive", "Zlvn_OnUpdateList", "Zlvn_OnChangeQuickOption"}) dll.Call(event);
             for (const ZlvnEntry& command : kZlvnEntries)
                 if (command.InMenu()) CommandOpeningNothing(dll, command.name);
             EXPECT_TRUE(HintPopups().byClass.empty()) << "no hint from a record never loaded";
             dll.OnTeardown();
         }},
        {"second teardown", false, [](PluginDll& dll) { EndSessionAndDeleteTheFile(dll); dll.OnTeardown(); }},
        {"events after teardown", false, [](PluginDll& dll) {
             EndSessionAndDeleteTheFile(dll);
             for (const char* event : {"Zlvn_OnActive", "Zlvn_OnUpdateList", "Zlvn_OnInactive"}) dll.Call(event);
             for (const ZlvnEntry& command : kZlvnEntries)
                 if (command.InMenu()) CommandOpeningNothing(dll, command.name);
             CommandOpeningNothing(dll, "HintToggleEnable");
             dll.Call("Zlvn_OnActive");
             EXPECT_EQ(0, HostCalls("Zlvn_ReloadMenu")) << "no command ran";
         }},
        {"FreeLibrary from another thread with hints shown, teardown once loaded again", true, [](PluginDll& dll) {
             dll.OnSetup();
             dll.Call("Zlvn_OnActive");
             std::thread([&dll] { dll.Unload(); }).join();
             for (HWND popup : ThreadWindows([](HWND w) { return ClassName(w).rfind("tag", 0) == 0; }))
                 RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // our code paints
             EXPECT_EQ(1, HintPopups().visible) << "the module stays, and its hints until teardown";
             ASSERT_TRUE(dll.Load());
             dll.OnTeardown();
         }},
        {"teardown after the version box was shown", true, [](PluginDll& dll) {
             dll.OnSetup();
             DialogScript script("version box");
             script.AtDialog("shown, OK", kVersionTitle, [](HWND box) { PostClick(ChildWithText(box, "OK")); });
             EXPECT_TRUE(script.Run([&dll] { dll.Command("HintVersion"); })) << script.Report();
             EXPECT_NE(nullptr, *dll.Get<void**>("_AboutBox")) << "kept until teardown";
             dll.OnTeardown();
             EXPECT_EQ(nullptr, *dll.Get<void**>("_AboutBox")) << "given back at teardown";
         }},
        {"set-up again after teardown", true, [](PluginDll& dll) {
             dll.OnSetup();
             dll.OnTeardown();
             dll.OnSetup();
             dll.Call("Zlvn_OnActive");
             EXPECT_EQ(1, HintPopups().visible) << "a new session shows hints again";
             dll.OnTeardown();
         }},
    };
    for (const auto& c : cases) {
        zlvnhost::ResetHost();
        HWND target = MakeListedWindow(100, "Alpha");
        PluginDll dll;
        ASSERT_TRUE(dll.Load()) << c.name << ": " << dll.Error();
        HMODULE module = dll.Module();
        c.run(dll);
        dll.Unload();
        ExpectNothingLeft(module, target, c.name);
        EXPECT_EQ(c.fileWritten, FileExists(dll.Dir().File("ZlvnHint.ini"))) << c.name;
        DestroyWindow(target);
    }
}
