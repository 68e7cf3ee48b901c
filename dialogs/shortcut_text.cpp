#include "dialogs/shortcut_text.h"

#include <windows.h>

#include <cstring>

namespace {

bool StartsWithNoCase(const char* text, const char* prefix)
{
    return _strnicmp(text, prefix, strlen(prefix)) == 0;
}

}  // namespace

std::string PlatformKeyName(unsigned vk)
{
    UINT scan = MapVirtualKeyA(vk, 0 /* MAPVK_VK_TO_VSC */);
    if (scan == 0) return std::string();
    char name[256] = {};
    if (GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) <= 0) return std::string();
    return name;
}

std::string KeyName(unsigned vk, PlatformKeyNameFn platform)
{
    static const char* const kNav[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
    switch (vk) {
    case 8: return "BkSp";
    case 9: return "Tab";
    case 13: return "Enter";
    case 27: return "Esc";
    case 45: return "Ins";
    case 46: return "Del";
    default: break;
    }
    if (vk >= 32 && vk <= 40) return kNav[vk - 32];
    if (vk >= '0' && vk <= '9') return std::string(1, static_cast<char>(vk));
    if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return std::string(1, static_cast<char>('0' + vk - VK_NUMPAD0));
    if (vk >= VK_F1 && vk <= VK_F24) return "F" + std::to_string(vk - VK_F1 + 1);
    return platform ? platform(vk) : std::string();
}

std::string FormatShortcut(shortcut_t shortcut, PlatformKeyNameFn platform)
{
    if (shortcut.vk == 0) return std::string();
    std::string name = KeyName(shortcut.vk, platform);
    if (name.empty()) return name;
    std::string text;
    if (shortcut.mods & kModShift) text += "Shift+";
    if (shortcut.mods & kModCtrl) text += "Ctrl+";
    if (shortcut.mods & kModAlt) text += "Alt+";
    return text + name;
}

shortcut_t ParseShortcut(const char* i_text, PlatformKeyNameFn platform)
{
    shortcut_t result;
    if (i_text == nullptr) return result;
    const char* rest = i_text;
    unsigned char mods = 0;
    for (;;) {
        if (StartsWithNoCase(rest, "Shift+")) { mods |= kModShift; rest += 6; }
        else if (StartsWithNoCase(rest, "Ctrl+")) { mods |= kModCtrl; rest += 5; }
        else if (*rest == '^') { mods |= kModCtrl; rest += 1; }
        else if (StartsWithNoCase(rest, "Alt+")) { mods |= kModAlt; rest += 4; }
        else break;
    }
    if (*rest == '\0') return result;
    for (unsigned vk = 8; vk <= 255; ++vk) {
        std::string name = KeyName(vk, platform);
        if (!name.empty() && _stricmp(name.c_str(), rest) == 0) {
            result.vk = static_cast<unsigned char>(vk);
            result.mods = mods;
            return result;
        }
    }
    return result;
}
