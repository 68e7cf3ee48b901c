#pragma once
// Optional system functions are looked up in modules of the system folder only, never in
// the host's folder or the current one, so the plug-in loads where they are missing.
#include <windows.h>

// The module from the system folder, loaded and kept for the life of the process
// (freeing one from inside another module's unload is not allowed); null when missing.
HMODULE SystemModule(const wchar_t* i_name);
