#pragma once
// The three commands as the host receives them: 666-byte entries back to back.
#include <cstddef>

#pragma pack(push, 1)
struct menu_entry_t {
    unsigned char flag;     // always 1
    unsigned char checked;  // 1 = shown with a check mark
    char caption[48];
    char shortcut[24];
    char command[592];      // name of the exported command function
};
#pragma pack(pop)
static_assert(sizeof(menu_entry_t) == 666, "host menu entry is 666 bytes");

constexpr int kMenuEntryCount = 3;
constexpr size_t kMenuBlockSize = kMenuEntryCount * sizeof(menu_entry_t);  // 1998

extern menu_entry_t g_menu[kMenuEntryCount];

// The toggle entry's check mark mirrors HintSettings.Enable.
void SetToggleMenuChecked(bool checked);
