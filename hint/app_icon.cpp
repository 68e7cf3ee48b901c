#include "hint/app_icon.h"

#include <shlobj.h>

#include <cwchar>
#include <map>
#include <string>
#include <utility>

#include "support/owners.h"
#include "support/proc_address.h"
#include "support/system_module.h"

namespace {

std::map<std::pair<std::wstring, int>, IconOwner>& Icons()
{
    // Never destroyed: a host that ends without teardown must not have icons destroyed
    // under the loader lock at process exit (teardown empties it).
    static auto& icons = *new std::map<std::pair<std::wstring, int>, IconOwner>;
    return icons;
}

bool HasClass(HWND window, const wchar_t* i_class)
{
    wchar_t name[64] = {};
    return GetClassNameW(window, name, 64) > 0 && lstrcmpW(name, i_class) == 0;
}

std::wstring ExecutablePath(HWND window)
{
    DWORD id = 0;
    if (GetWindowThreadProcessId(window, &id) == 0) return std::wstring();
    HandleOwner process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process.Valid()) return std::wstring();
    wchar_t path[2 * MAX_PATH];
    DWORD length = 2 * MAX_PATH;
    BOOL read = QueryFullProcessImageNameW(process.Get(), 0, path, &length);
    return read ? std::wstring(path, length) : std::wstring();
}

std::wstring Folder(UINT(WINAPI* read)(LPWSTR, UINT))
{
    wchar_t folder[MAX_PATH];
    UINT length = read(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) + L"\\" : std::wstring();
}

bool RunsUnderWow64()
{
    BOOL wow64 = FALSE;
    auto ask = IsWow64ProcessFn();
    return ask && ask(GetCurrentProcess(), &wow64) && wow64;
}

// A 32-bit process on 64-bit Windows that opens a file of the system folder is sent to
// SysWOW64, where a 64-bit-only program (the frame host, for one) is missing: its path
// through Sysnative reaches the real one, and needs no redirection switched off.
std::wstring ReadablePath(const std::wstring& path)
{
    if (!RunsUnderWow64()) return path;
    std::wstring system = Folder(GetSystemDirectoryW), windows = Folder(GetSystemWindowsDirectoryW);
    if (system.empty() || windows.empty() || path.size() <= system.size() ||
        _wcsnicmp(path.c_str(), system.c_str(), system.size()) != 0)
        return path;
    return windows + L"Sysnative\\" + path.substr(system.size());
}

HICON IconOfFile(const std::wstring& i_path, int size)
{
    HICON icon = nullptr, second = nullptr;
    // The file's first icon at the size asked, picked or scaled once by the system. Both
    // handles given: some versions of Wine fill the second one unasked.
    HRESULT read = SHDefExtractIconW(i_path.c_str(), 0, 0, &icon, &second, MAKELONG(size, size));
    IconOwner unasked(second);
    return read == S_OK ? icon : nullptr;
}

}  // namespace

is_wow64_process_t& IsWow64ProcessFn()
{
    static is_wow64_process_t ask = [] {
        HMODULE kernel = LoadSystemModule(L"kernel32.dll");
        return kernel ? As<is_wow64_process_t>(GetProcAddress(kernel, "IsWow64Process")) : nullptr;
    }();
    return ask;
}

HWND ProgramWindow(HWND window)
{
    if (!HasClass(window, L"ApplicationFrameWindow")) return window;
    HWND core = FindWindowExW(window, nullptr, L"Windows.UI.Core.CoreWindow", nullptr);
    return core ? core : window;
}

HICON AppIconOf(HWND window, int size)
{
    std::wstring path = ExecutablePath(ProgramWindow(window));
    if (path.empty()) return nullptr;
    auto key = std::make_pair(path, size);
    auto found = Icons().find(key);
    if (found != Icons().end()) return found->second.Get();
    // The entry first: a failed allocation then leaves no icon without an owner. A file
    // without an icon is remembered too, and not read again.
    IconOwner& icon = Icons().emplace(key, IconOwner()).first->second;
    icon.Reset(IconOfFile(ReadablePath(path), size));
    return icon.Get();
}

void FreeAppIcons() { Icons().clear(); }
