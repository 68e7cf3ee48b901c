#include "plugin/records/module_state.h"

#include <algorithm>

#include "plugin/records/globals.h"
#include "support/app_info.h"  // kLongestPath
#include "support/bounded_text.h"

HMODULE g_hModule;
std::wstring g_settingsFile;
char g_settingsPath[kSettingsPathSize];

std::wstring MakeSettingsPath(const std::wstring& i_modulePath)
{
    return i_modulePath.substr(0, i_modulePath.rfind(L'.')) + L".ini";
}

void UseSettingsPath(const std::wstring& i_path)
{
    g_settingsFile = i_path;
    char ansi[sizeof g_settingsPath * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, i_path.c_str(), -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    CopyText(g_settingsPath, ansi);
}

std::wstring ModuleFileName(HMODULE module)
{
    // A result as long as the buffer is a name cut short: try a larger one.
    for (DWORD size = MAX_PATH;; size = std::min(size * 2, kLongestPath)) {
        std::wstring name(size, L'\0');
        DWORD length = GetModuleFileNameW(module, &name[0], size);
        if (length == 0) break;
        if (length < size) {
            name.resize(length);
            return name;
        }
        if (size == kLongestPath) break;
    }
    return {};
}

std::wstring ModuleDirectory(HMODULE module)
{
    const std::wstring name = ModuleFileName(module);
    const size_t separator = name.rfind(L'\\');
    return separator == std::wstring::npos ? std::wstring() : name.substr(0, separator);
}

bool FindSettingsPath(HMODULE module)
{
    const std::wstring name = ModuleFileName(module);
    UseSettingsPath(name.empty() ? name : MakeSettingsPath(name));
    return !name.empty();
}
