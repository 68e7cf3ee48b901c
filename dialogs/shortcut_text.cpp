#include "dialogs/shortcut_text.h"

#include <cstring>

namespace {

// Virtual-key codes of the ranges the fixed table names (VK_NUMPAD0, VK_F1, VK_F24).
constexpr unsigned kVkNumpad0 = 0x60;
constexpr unsigned kVkNumpad9 = 0x69;
constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkF24 = 0x87;

// ASCII case folding only, as the C locale's _stricmp does.
char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        if (Fold(*text) != Fold(*prefix)) return false;
    }
    return true;
}

bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (Fold(*a) != Fold(*b)) return false;
    }
    return *a == *b;
}

}  // namespace

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
    if (vk >= kVkNumpad0 && vk <= kVkNumpad9) return std::string(1, static_cast<char>('0' + vk - kVkNumpad0));
    if (vk >= kVkF1 && vk <= kVkF24) return "F" + std::to_string(vk - kVkF1 + 1);
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
        if (!name.empty() && EqualNoCase(name.c_str(), rest)) {
            result.vk = static_cast<unsigned char>(vk);
            result.mods = mods;
            return result;
        }
    }
    return result;
}
