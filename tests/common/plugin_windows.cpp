#include "tests/common/plugin_windows.h"

#include "tests/common/window_search.h"

hint_popups_t HintPopups()
{
    hint_popups_t popups;
    for (HWND hwnd : ThreadWindows([](HWND w) { return ClassName(w).compare(0, 3, "tag") == 0; })) {
        ++popups.byClass[ClassName(hwnd)];
        if (IsWindowVisible(hwnd)) ++popups.visible;
    }
    return popups;
}

std::string Describe(const hint_popups_t& popups)
{
    std::string text = std::to_string(popups.visible) + " visible of {";
    for (const auto& entry : popups.byClass) text += " " + entry.first + " x" + std::to_string(entry.second);
    return text + " }";
}

bool ClassRegistered(const std::string& name, HMODULE module)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    return GetClassInfoExA(module ? module : GetModuleHandleA(nullptr), name.c_str(), &wc) != FALSE;
}
