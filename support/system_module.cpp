#include "support/system_module.h"

#include <string>

HMODULE SystemModule(const wchar_t* i_name)
{
    HMODULE module = LoadLibraryExW(i_name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without its loader update refuses the flag (ERROR_INVALID_PARAMETER): the full path then.
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + i_name).c_str());
}
