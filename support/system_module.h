#pragma once
// Windows' own DLLs, loaded at run time from the system folder only: never from the
// host's folder or the current one, where another file of that name could stand.
#include <windows.h>

// i_name is a bare file name ("uxtheme.dll"); null when it cannot be loaded from there.
// The caller frees it with FreeLibrary, or keeps it for the life of the process.
HMODULE LoadSystemModule(const wchar_t* i_name);
