#include "dialogs/shortcut_text.h"

#include <windows.h>

std::string PlatformKeyName(unsigned vk)
{
    UINT scan = MapVirtualKeyA(vk, 0 /* MAPVK_VK_TO_VSC */);
    if (scan == 0) return std::string();
    char name[256] = {};
    if (GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) <= 0) return std::string();
    return name;
}
