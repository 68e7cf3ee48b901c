// Shortcut text: a text read, written and read again gives the same key; every key
// written reads back as itself (or as a lower code of the same name).
#include <cstdint>
#include <string>

#include "dialogs/shortcut_text.h"
#include "fuzz/fuzz_check.h"

namespace {

// Key names a platform may give outside the fixed table: a repeat of a fixed name,
// names spelt like the modifiers, the caret key of Japanese keyboards, a blank.
std::string FakePlatform(unsigned vk)
{
    switch (vk) {
    case 0x10: return "Shift";
    case 0x11: return "Ctrl";
    case 0x12: return "Alt";
    case 0x6B: return "Num +";
    case 0xBA: return "Semicolon";
    case 0xC8: return "Tab";
    case 0xDE: return "^";
    case 0xE2: return "Backslash";
    case 0xF0: return "caps lock";
    default: return "";
    }
}

bool SameKey(shortcut_t a, shortcut_t b) { return a.vk == b.vk && a.mods == b.mods; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> text = ExactCString(data, size);
    shortcut_t read = ParseShortcut(text.get(), FakePlatform);
    FUZZ_CHECK((read.mods & ~(kModShift | kModCtrl | kModAlt)) == 0);
    if (read.vk != 0) {
        std::string written = FormatShortcut(read, FakePlatform);
        FUZZ_CHECK(!written.empty());
        FUZZ_CHECK(SameKey(read, ParseShortcut(written.c_str(), FakePlatform)));
    }

    if (size >= 2) {
        shortcut_t key{data[0], static_cast<unsigned char>(data[1] & (kModShift | kModCtrl | kModAlt))};
        std::string written = FormatShortcut(key, FakePlatform);
        if (!written.empty()) {
            shortcut_t back = ParseShortcut(written.c_str(), FakePlatform);
            FUZZ_CHECK(back.vk != 0 && back.mods == key.mods);
            FUZZ_CHECK(back.vk <= key.vk);
            FUZZ_CHECK(KeyName(back.vk, FakePlatform) == KeyName(key.vk, FakePlatform) ||
                       (key.vk >= 0x60 && key.vk <= 0x69));  // keypad digits read back as main-keyboard ones
        }
    }
    return 0;
}
