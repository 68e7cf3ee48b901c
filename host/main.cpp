// zlvnhost: a small stand-in for the window-switching host. It loads the plug-in,
// shows what the plug-in tells a host, and calls it in the order a host does.
#include <windows.h>

#include <cstdio>
#include <string>

#include "host/text_utf8.h"
#include "host/zlvn_host.h"
#include "plugin/menu.h"

namespace {

struct Plugin {
    HMODULE module = nullptr;
    void(__stdcall* getPluginInfo)(char*) = nullptr;
    int(__stdcall* setup)(void*) = nullptr;
    void(__stdcall* setupSubMenu)(int*, void*) = nullptr;
    int(__stdcall* teardown)() = nullptr;
    void(__stdcall* onActive)() = nullptr;
    void(__stdcall* onInactive)() = nullptr;
    void(__stdcall* onUpdateList)() = nullptr;

    template <typename Fn>
    void Bind(Fn& fn, const char* name) { fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))); }
};

void Say(const std::string& text)
{
    fputs(text.c_str(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void PrintMenu(Plugin& plugin)
{
    int count = 0;
    plugin.setupSubMenu(&count, nullptr);
    menu_entry_t items[kMenuEntryCount] = {};
    if (count != kMenuEntryCount) {
        Say("menu: unexpected count " + std::to_string(count));
        return;
    }
    plugin.setupSubMenu(&count, items);
    for (const menu_entry_t& item : items) {
        std::string line = std::string("menu: [") + (item.checked ? "x" : " ") + "] " + AnsiToUtf8(item.caption);
        if (item.shortcut[0]) line += "\t" + AnsiToUtf8(item.shortcut);
        line += "  -> " + std::string(item.command);
        Say(line);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "ZlvnHint.dll";
    zlvnhost::Host().onLog = [](const zlvnhost::LogLine& line) {
        Say("log" + (line.level >= 0 ? "(" + std::to_string(line.level) + ")" : std::string("(err)")) + ": " +
            AnsiToUtf8(line.text.c_str()));
    };

    Say("host: version " + zlvnhost::Host().version + ", loading " + path);
    Plugin plugin;
    plugin.module = LoadLibraryA(path);
    if (plugin.module == nullptr) {
        Say("host: the plug-in refused to load (error " + std::to_string(GetLastError()) + ")");
        return 1;
    }
    plugin.Bind(plugin.getPluginInfo, "Zlvn_OnGetPluginInfo");
    plugin.Bind(plugin.setup, "Zlvn_OnSetup");
    plugin.Bind(plugin.setupSubMenu, "Zlvn_OnSetupSubMenu");
    plugin.Bind(plugin.teardown, "Zlvn_OnTeardown");
    plugin.Bind(plugin.onActive, "Zlvn_OnActive");
    plugin.Bind(plugin.onInactive, "Zlvn_OnInactive");
    plugin.Bind(plugin.onUpdateList, "Zlvn_OnUpdateList");
    if (!plugin.getPluginInfo || !plugin.setup || !plugin.setupSubMenu || !plugin.teardown) {
        Say("host: the module is not a plug-in");
        return 1;
    }

    char info[80] = {};
    plugin.getPluginInfo(info);
    Say("plugin: " + AnsiToUtf8(info));
    plugin.setup(nullptr);
    PrintMenu(plugin);

    if (plugin.onActive) plugin.onActive();
    if (plugin.onUpdateList) plugin.onUpdateList();
    if (plugin.onInactive) plugin.onInactive();

    plugin.teardown();
    FreeLibrary(plugin.module);
    Say("host: done");
    return 0;
}
