#include "dialogs/shortcut_text.h"

#include <cstring>
#include <vector>

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
    // Where the text stands after each prefix, with the modifiers read up to there.
    struct step_t {
        const char* rest;
        unsigned char mods;
    };
    std::vector<step_t> steps{{i_text, 0}};
    for (;;) {
        step_t next = steps.back();
        if (StartsWithNoCase(next.rest, "Shift+")) { next.mods |= kModShift; next.rest += 6; }
        else if (StartsWithNoCase(next.rest, "Ctrl+")) { next.mods |= kModCtrl; next.rest += 5; }
        else if (*next.rest == '^') { next.mods |= kModCtrl; next.rest += 1; }
        else if (StartsWithNoCase(next.rest, "Alt+")) { next.mods |= kModAlt; next.rest += 4; }
        else break;
        steps.push_back(next);
    }
    // The key name is what all prefixes leave. A key whose own name reads as a prefix
    // ("^", the caret key of Japanese keyboards) is found by giving prefixes back, so
    // that every shortcut FormatShortcut writes reads back. Each name is compared once,
    // against the end of the text: fewer prefixes given back wins, then the lower code.
    const size_t length = strlen(i_text);
    std::vector<int> stepAt(length + 1, -1);
    for (size_t i = 0; i < steps.size(); ++i) stepAt[steps[i].rest - i_text] = static_cast<int>(i);
    int bestStep = -1;
    for (unsigned vk = 8; vk <= 255; ++vk) {
        std::string name = KeyName(vk, platform);
        if (name.empty() || name.size() > length) continue;
        const int step = stepAt[length - name.size()];
        if (step > bestStep && EqualNoCase(name.c_str(), i_text + length - name.size())) {
            bestStep = step;
            result.vk = static_cast<unsigned char>(vk);
            result.mods = steps[step].mods;
        }
    }
    return result;
}
