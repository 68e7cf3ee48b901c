// zlvnhost: a stand-in for the window-switching host that a person can use. It loads
// the plug-in, lists the desktop's application windows, calls the plug-in's events
// when its switch mode starts and ends, offers the plug-in's menu, shows its log,
// and after teardown prints the settings file the plug-in wrote. `zlvnhost.exe --help`
// prints the command line and the script's steps (host_options.cpp).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "host/dialog_watch.h"
#include "host/host_keys.h"
#include "host/host_options.h"
#include "host/log_view.h"
#include "host/message_pump.h"
#include "host/sample_windows.h"
#include "host/screenshot.h"
#include "host/text_utf8.h"
#include "host/window_list.h"
#include "host/zlvn_host.h"
#include "plugin/records/menu.h"
#include "support/win_last_error.h"

namespace {

constexpr DWORD kSettleLimitMs = 10000;
const char kDemoScript[] = "samples list active wait:3000 inactive";

// One line to the terminal and to the window's log list.
void Say(const std::string& text)
{
    AddLogViewLine(text);
    fputs(text.c_str(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

// The plug-in module and its exports.
struct Plugin {
    using CommandFn = void(__stdcall*)(void*);

    HMODULE module = nullptr;
    std::string path;
    // One pointer for each entry point, named after it; null where the plug-in lacks it.
#define ZLVN_ENTRY_POINTER(name, ...) zlvn_export::name name = nullptr;
    ZLVN_PLUGIN_EXPORTS(ZLVN_ENTRY_POINTER)
#undef ZLVN_ENTRY_POINTER
    menu_entry_t menu[kMenuEntryCount] = {};

    template <typename Fn>
    void Bind(Fn& fn, const char* name)
    {
        fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    // Empty when the plug-in is loaded, else why not.
    std::string Load(const std::string& dllPath)
    {
        path = dllPath;
        module = LoadLibraryA(path.c_str());
        if (module == nullptr) return LoadFailure(GetLastError());
#define ZLVN_BIND_ENTRY(name, ...) Bind(name, #name);
        ZLVN_PLUGIN_EXPORTS(ZLVN_BIND_ENTRY)
#undef ZLVN_BIND_ENTRY
        std::string missing;
        for (const ZlvnEntry& entry : kZlvnEntries)
            if (entry.HostNeeds() && GetProcAddress(module, entry.name) == nullptr)
                missing += std::string(" ") + entry.name;
        if (missing.empty()) return "";
        return "host: " + path + " is not a plug-in: it exports no" + missing;
    }

    // A module that refuses its host fails its DllMain (error 1114) after logging why;
    // any other error is the loader's.
    std::string LoadFailure(DWORD code) const
    {
        std::string text = AnsiToUtf8(GetWinLastError(code).m_message);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
        std::string why = text + " (" + std::to_string(code) + ")";
        if (code == ERROR_DLL_INIT_FAILED)
            return "host: the plug-in refused to load into this host, its DllMain failed: " + why +
                   "; its log lines above say why";
        return "host: cannot load " + path + ": " + why;
    }

    // Asks for the menu the way a host does: the count first, then the entries.
    bool ReadMenu()
    {
        int count = 0;
        Zlvn_OnSetupSubMenu(&count, nullptr);
        if (count != kMenuEntryCount) {
            Say("host: the plug-in describes " + std::to_string(count) + " menu entries, expected " +
                std::to_string(kMenuEntryCount));
            return false;
        }
        Zlvn_OnSetupSubMenu(&count, menu);
        return true;
    }

    // Calls the command an entry names, as the host does when the item is picked.
    void RunCommand(int index)
    {
        if (index < 0 || index >= kMenuEntryCount) return;
        char name[sizeof menu[0].command + 1] = {};
        memcpy(name, menu[index].command, sizeof menu[index].command);
        auto fn = reinterpret_cast<CommandFn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        if (fn == nullptr) {
            Say(std::string("host: the plug-in exports no ") + name);
            return;
        }
        Say(std::string("host: command ") + name);
        fn(nullptr);
    }

    // The settings file: the module's path with its extension replaced by ".ini".
    std::string SettingsPath() const
    {
        char file[MAX_PATH] = {};
        GetModuleFileNameA(module, file, MAX_PATH);
        std::string s = file;
        size_t dot = s.find_last_of('.');
        return (dot == std::string::npos ? s : s.substr(0, dot)) + ".ini";
    }
};

std::string MenuLine(const menu_entry_t& item)
{
    std::string line = std::string("[") + (item.checked ? "x" : " ") + "] " + AnsiToUtf8(item.caption);
    if (item.shortcut[0]) line += "  (" + AnsiToUtf8(item.shortcut) + ")";
    char command[sizeof item.command + 1] = {};
    memcpy(command, item.command, sizeof item.command);
    return line + "  -> " + command;
}

void PrintMenu(const Plugin& plugin)
{
    for (const menu_entry_t& item : plugin.menu) Say("menu: " + MenuLine(item));
}

// What the host knows while it runs.
struct App {
    Plugin plugin;
    HWND main = nullptr;
    HWND logBox = nullptr;
    HMENU pluginMenu = nullptr;
    HACCEL keys = nullptr;  // F5, Esc and the plug-in's toggle shortcut
    bool inSwitchMode = false;
    bool menuStale = false;
    HWND foregroundAtEntry = nullptr;
    std::vector<HWND> samples;
};

App g_app;

// The desktop's windows become the host's list; the plug-in hears of a change.
void RefreshList(bool tellPlugin)
{
    std::vector<ZlvnList> list = ListAppWindows(g_app.main);
    bool changed = !SameList(list, zlvnhost::Host().list);
    zlvnhost::Host().list = list;
    // A switcher's pair: the window it would return to, and its own.
    zlvnhost::Host().windowHandles[0] = list.empty() ? nullptr : list.front().hwnd;
    zlvnhost::Host().windowHandles[1] = g_app.main;
    if (changed) {
        Say("host: " + std::to_string(list.size()) + " windows listed");
        for (const ZlvnList& item : list) Say("  list: " + AnsiToUtf8(item.text));
    }
    if (changed && tellPlugin && g_app.plugin.Zlvn_OnUpdateList) g_app.plugin.Zlvn_OnUpdateList();
}

// The host's quick options changed; the plug-in looks at byte 3 only.
void FlipQuickOption()
{
    zlvnhost::Host().quickOption[3] ^= 1;
    Say("host: quick option byte 3 is now " + std::to_string(zlvnhost::Host().quickOption[3]));
    if (g_app.plugin.Zlvn_OnChangeQuickOption) g_app.plugin.Zlvn_OnChangeQuickOption();
}

void EnterSwitchMode()
{
    if (g_app.inSwitchMode) return;
    RefreshList(false);
    g_app.inSwitchMode = true;
    g_app.foregroundAtEntry = GetForegroundWindow();
    Say("host: switch mode starts");
    if (g_app.plugin.Zlvn_OnActive) g_app.plugin.Zlvn_OnActive();
}

void LeaveSwitchMode()
{
    if (!g_app.inSwitchMode) return;
    g_app.inSwitchMode = false;
    Say("host: switch mode ends");
    if (g_app.plugin.Zlvn_OnInactive) g_app.plugin.Zlvn_OnInactive();
}

// ---- the script ----

bool RunStep(const std::string& step)
{
    Plugin& plugin = g_app.plugin;
    std::string word = step.substr(0, step.find(':'));
    std::string arg = step.find(':') == std::string::npos ? "" : step.substr(step.find(':') + 1);
    if (word == "samples") {
        g_app.samples = MakeSampleWindows();
        Say("host: " + std::to_string(g_app.samples.size()) + " sample windows");
    } else if (word == "list") {
        RefreshList(false);
    } else if (word == "active") {
        EnterSwitchMode();
    } else if (word == "inactive") {
        LeaveSwitchMode();
    } else if (word == "quick") {
        FlipQuickOption();
    } else if (word == "update") {
        RefreshList(true);
    } else if (word == "toggle") {
        plugin.RunCommand(0);
    } else if (word == "option" || word == "version") {
        DialogPlan plan;
        std::string error;
        if (!ParseDialogPlan(arg, plan, error)) {
            Say("host: step '" + step + "': " + error);
            return false;
        }
        if (!RunWithDialogPlan(plan, [&] { plugin.RunCommand(word == "option" ? 1 : 2); })) return false;
    } else if (word == "menu") {
        PrintMenu(plugin);
    } else if (word == "wait") {
        PumpFor(static_cast<DWORD>(atoi(arg.c_str())));
    } else if (word == "shot") {
        // The picture is taken once what was painted has reached the screen.
        if (!WaitForSettledScreen(kSettleLimitMs)) Say("host: the screen did not settle; the screenshot may be early");
        char full[MAX_PATH] = {};
        GetFullPathNameA(arg.c_str(), MAX_PATH, full, nullptr);
        if (SaveScreenBitmap(full)) Say(std::string("host: screenshot ") + full);
        else Say(std::string("host: could not save the screenshot to ") + full);
    } else {
        Say("host: unknown step '" + step + "'");
        return false;
    }
    if (g_app.menuStale) {
        g_app.menuStale = false;
        if (plugin.ReadMenu()) PrintMenu(plugin);
    }
    return true;
}

bool RunScript(const std::string& script)
{
    std::istringstream steps(script);
    std::string step;
    bool ok = true;
    while (steps >> step) ok = RunStep(step) && ok;
    return ok;
}

// ---- the window for a person ----

enum : UINT {
    kCmdEnter = 100, kCmdLeave, kCmdRefresh, kCmdQuick, kCmdExit,
    kCmdPlugin = 200,  // + entry index
    kTimerWatch = 1,
    kMsgMenuStale = WM_APP + 1,
};

void BuildPluginMenu()
{
    while (GetMenuItemCount(g_app.pluginMenu) > 0) DeleteMenu(g_app.pluginMenu, 0, MF_BYPOSITION);
    for (int i = 0; i < kMenuEntryCount; ++i) {
        const menu_entry_t& item = g_app.plugin.menu[i];
        std::string caption(item.caption, strnlen(item.caption, sizeof item.caption));
        std::string shortcut(item.shortcut, strnlen(item.shortcut, sizeof item.shortcut));
        if (!shortcut.empty()) caption += "\t" + shortcut;
        AppendMenuA(g_app.pluginMenu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), kCmdPlugin + i,
                    caption.c_str());
    }
    if (g_app.main) DrawMenuBar(g_app.main);
    // The toggle command's shortcut may have changed with the menu: the host's keys follow.
    if (g_app.keys) DestroyAcceleratorTable(g_app.keys);
    const menu_entry_t& toggle = g_app.plugin.menu[0];
    g_app.keys = MakeHostKeys({kCmdEnter, kCmdLeave, kCmdPlugin}, toggle.shortcut, sizeof toggle.shortcut);
}

// Follow the desktop's list; in switch mode, end the mode when a listed window comes
// to the front (a hint was clicked, or the person switched).
void WatchDesktop()
{
    // Hints may be up outside the mode too (switched on from the menu).
    RefreshList(true);
    if (!g_app.inSwitchMode) return;
    HWND front = GetForegroundWindow();
    if (front == g_app.foregroundAtEntry || front == g_app.main) return;
    for (const ZlvnList& item : zlvnhost::Host().list) {
        if (item.hwnd != front) continue;
        Say("host: a listed window became active");
        if (g_app.plugin.Zlvn_OnWindowActive) g_app.plugin.Zlvn_OnWindowActive(front);
        LeaveSwitchMode();
        return;
    }
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (g_app.logBox) MoveWindow(g_app.logBox, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_TIMER:
        WatchDesktop();
        return 0;
    case kMsgMenuStale:
        if (g_app.menuStale && g_app.plugin.ReadMenu()) BuildPluginMenu();
        g_app.menuStale = false;
        return 0;
    case WM_COMMAND: {
        UINT id = LOWORD(wParam);
        if (id == kCmdEnter) EnterSwitchMode();
        else if (id == kCmdLeave) LeaveSwitchMode();
        else if (id == kCmdRefresh) RefreshList(true);
        else if (id == kCmdQuick) FlipQuickOption();
        else if (id == kCmdExit) DestroyWindow(hwnd);
        else if (id >= kCmdPlugin && id < kCmdPlugin + kMenuEntryCount) g_app.plugin.RunCommand(id - kCmdPlugin);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int RunInteractive(bool withSamples)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "ZlvnHostMain";
    RegisterClassExA(&wc);

    HMENU bar = CreateMenu();
    HMENU hostMenu = CreatePopupMenu();
    AppendMenuA(hostMenu, MF_STRING, kCmdEnter, "&Enter switch mode\tF5");
    AppendMenuA(hostMenu, MF_STRING, kCmdLeave, "&Leave switch mode\tEsc");
    AppendMenuA(hostMenu, MF_STRING, kCmdRefresh, "&Refresh the list");
    AppendMenuA(hostMenu, MF_STRING, kCmdQuick, "Change a &quick option");
    AppendMenuA(hostMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hostMenu, MF_STRING, kCmdExit, "E&xit");
    g_app.pluginMenu = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(hostMenu), "&Host");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(g_app.pluginMenu), "&Plug-in");
    BuildPluginMenu();

    // Samples first, so that the host's window, made and shown later, lies above them.
    if (withSamples) g_app.samples = MakeSampleWindows();
    g_app.main = CreateWindowExA(0, wc.lpszClassName, "zlvnhost - reference host", WS_OVERLAPPEDWINDOW, 100, 100, 640,
                                 360, nullptr, bar, wc.hInstance, nullptr);
    g_app.logBox = MakeLogView(g_app.main);
    RECT client;
    GetClientRect(g_app.main, &client);
    MoveWindow(g_app.logBox, 0, 0, client.right, client.bottom, FALSE);
    SetDialogOwner(g_app.main);
    ShowWindow(g_app.main, SW_SHOW);
    SetForegroundWindow(g_app.main);
    SetTimer(g_app.main, kTimerWatch, 500, nullptr);
    Say("host: F5 starts the switch mode, Esc ends it; the plug-in's commands are in its menu, its toggle "
        "also on the shortcut shown there");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(g_app.main, g_app.keys, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyAcceleratorTable(g_app.keys);
    g_app.keys = nullptr;
    SetDialogOwner(nullptr);
    g_app.main = nullptr;
    g_app.logBox = nullptr;
    ForgetLogView();
    LeaveSwitchMode();
    return 0;
}

void PrintSettingsFile(const std::string& path, const char* when)
{
    FILE* in = fopen(path.c_str(), "rb");
    if (in == nullptr) {
        Say(std::string("host: ") + when + ", no settings file at " + path);
        return;
    }
    std::string bytes;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.append(chunk, got);
    fclose(in);
    std::string encoding;
    std::string text = SettingsFileAsUtf8(bytes, &encoding);
    Say(std::string("host: ") + when + ", the plug-in's settings file " + path + ":");
    Say("host:   read as " + encoding);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        Say("  " + line);
        start = end + 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    HostOptions options = ParseHostOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        fputs(kHostUsage, stdout);
        return 0;
    }
    if (!options.error.empty()) {
        fprintf(stderr, "zlvnhost: %s\n\n%s", options.error.c_str(), kHostUsage);
        return 64;
    }
    const std::string& dll = options.dll;
    std::string script = options.script.empty() ? kDemoScript : options.script;
    if (!options.hostVersion.empty()) zlvnhost::Host().version = options.hostVersion;

    zlvnhost::Host().onLog = [](const zlvnhost::LogLine& line) {
        std::string text = "log" + (line.level >= 0 ? "(" + std::to_string(line.level) + ")" : std::string("(err)")) +
                           ": " + AnsiToUtf8(line.text.c_str());
        Say(text);
    };
    zlvnhost::Host().onReloadMenu = [](const char* name) {
        Say(std::string("host: the plug-in asks to reload the menu of ") + name);
        g_app.menuStale = true;
        if (g_app.main) PostMessageA(g_app.main, kMsgMenuStale, 0, 0);
    };

    Say("host: answers \"" + zlvnhost::Host().version + "\", loading " + dll);
    Plugin& plugin = g_app.plugin;
    std::string failure = plugin.Load(dll);
    if (!failure.empty()) {
        Say(failure);
        return 1;
    }
    StartDialogWatch(Say);
    char info[kPluginInfoSize] = {};
    plugin.Zlvn_OnGetPluginInfo(info);
    Say("plugin: " + AnsiToUtf8(info));
    std::string settings = plugin.SettingsPath();
    PrintSettingsFile(settings, "before set-up (defaults fill what it lacks)");
    plugin.Zlvn_OnSetup(nullptr);
    if (plugin.ReadMenu()) PrintMenu(plugin);

    bool ok = options.interactive ? RunInteractive(options.samples) == 0 : RunScript(script);
    StopDialogWatch();

    plugin.Zlvn_OnTeardown();
    Say("host: the plug-in is torn down");
    PrintSettingsFile(settings, "after teardown");
    DestroySampleWindows(g_app.samples);
    FreeLibrary(plugin.module);
    Say("host: done");
    return ok ? 0 : 2;
}
