#include "tests/common/plugin_windows.h"

#include <cstdint>
#include <cstring>

namespace {

BOOL CALLBACK CollectHintPopup(HWND hwnd, LPARAM found)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strncmp(cls, "tag", 3) != 0) return TRUE;
    auto& popups = *reinterpret_cast<hint_popups_t*>(found);
    ++popups.byClass[cls];
    if (IsWindowVisible(hwnd)) ++popups.visible;
    return TRUE;
}

}  // namespace

hint_popups_t HintPopups()
{
    hint_popups_t popups;
    EnumThreadWindows(GetCurrentThreadId(), CollectHintPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

std::string ClassOf(HWND target)
{
    return "tag" + std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(target)));
}

std::string Describe(const hint_popups_t& popups)
{
    std::string text = std::to_string(popups.visible) + " visible of {";
    for (const auto& entry : popups.byClass) text += " " + entry.first + " x" + std::to_string(entry.second);
    return text + " }";
}

bool ClassRegistered(HMODULE module, const std::string& name)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    return GetClassInfoExA(module, name.c_str(), &wc) != FALSE;
}
