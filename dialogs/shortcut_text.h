#pragma once
// The toggle command's shortcut as text ("Shift+Ctrl+Alt+H") and back. Pure rules:
// the platform's own key names come in through a function, so tests can stand in.
#include <string>

// Modifier bits, the hot-key control's own (HOTKEYF_SHIFT, _CONTROL, _ALT).
constexpr unsigned char kModShift = 0x01;
constexpr unsigned char kModCtrl = 0x02;
constexpr unsigned char kModAlt = 0x04;

struct shortcut_t {
    unsigned char vk = 0;    // 0: no key
    unsigned char mods = 0;  // kMod* bits
};

// The platform's name of a key outside the fixed table; empty when it has none.
using PlatformKeyNameFn = std::string (*)(unsigned vk);

// Windows' name for the key's scan code (GetKeyNameTextA, shortcut_text_win32.cpp); empty
// without a scan code. Native builds have no keyboard layout and pass their own.
std::string PlatformKeyName(unsigned vk);

// The key's name: the fixed table first, the platform's name for every other code.
std::string KeyName(unsigned vk, PlatformKeyNameFn platform = PlatformKeyName);

// Prefixes in the order Shift+, Ctrl+, Alt+, then the key name; empty when the
// key has no name, whatever the modifiers.
std::string FormatShortcut(shortcut_t shortcut, PlatformKeyNameFn platform = PlatformKeyName);

// Reads prefixes ("Shift+", "^" or "Ctrl+", "Alt+", any case, any order, repeated)
// and then a key name, any case, matched against the codes 8 to 255 in ascending
// order. When what the prefixes leave names no key, the last prefixes count as the
// key name instead ("Ctrl+^" is Ctrl with a key named "^"). No key (vk 0) when
// nothing names a key.
shortcut_t ParseShortcut(const char* i_text, PlatformKeyNameFn platform = PlatformKeyName);
