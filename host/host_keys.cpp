#include "host/host_keys.h"

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/shortcut_text.h"

HACCEL MakeHostKeys(const host_commands_t& commands, const char* i_shortcut, size_t length)
{
    std::vector<ACCEL> keys = {{FVIRTKEY, VK_F5, commands.enter}, {FVIRTKEY, VK_ESCAPE, commands.leave}};
    std::string text(i_shortcut, strnlen(i_shortcut, length));
    shortcut_t shortcut = ParseShortcut(text.c_str());
    if (shortcut.vk != 0) {
        BYTE flags = FVIRTKEY;
        if (shortcut.mods & kModShift) flags |= FSHIFT;
        if (shortcut.mods & kModCtrl) flags |= FCONTROL;
        if (shortcut.mods & kModAlt) flags |= FALT;
        keys.push_back(ACCEL{flags, shortcut.vk, commands.toggle});
    }
    return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}
