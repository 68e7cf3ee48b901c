#include "support/system_module.h"

#include <string>

HMODULE LoadSystemModule(const wchar_t* i_name)
{
    // The full path works on every Windows version, also where LOAD_LIBRARY_SEARCH_SYSTEM32
    // is unknown (Windows 7 without its update).
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + i_name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
