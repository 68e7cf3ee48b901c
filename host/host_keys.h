#pragma once
// The interactive host's keys: its own two, and the shortcut that the plug-in hands over
// for its toggle command, read by the plug-in's own shortcut-text rule as a host reads it.
#include <windows.h>

struct host_commands_t {
    WORD enter;   // F5
    WORD leave;   // Esc
    WORD toggle;  // the plug-in's shortcut, when its text names a key
};

// A new accelerator table; the caller destroys it. i_shortcut need not end in a NUL
// within length bytes (the menu block's field is fixed-size).
HACCEL MakeHostKeys(const host_commands_t& commands, const char* i_shortcut, size_t length);
