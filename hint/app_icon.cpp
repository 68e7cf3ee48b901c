#include "hint/app_icon.h"

#include <shellapi.h>

#include <climits>
#include <map>
#include <string>

namespace {

std::map<std::wstring, HICON>& Icons()
{
    static std::map<std::wstring, HICON> icons;
    return icons;
}

bool HasClass(HWND window, const wchar_t* i_class)
{
    wchar_t name[64] = {};
    return GetClassNameW(window, name, 64) > 0 && lstrcmpW(name, i_class) == 0;
}

// A Store app's frame window belongs to the frame host; the app's own program runs the
// core window it holds (not there while the app is suspended: the frame host's then).
HWND ProgramWindow(HWND window)
{
    if (!HasClass(window, L"ApplicationFrameWindow")) return window;
    HWND core = FindWindowExW(window, nullptr, L"Windows.UI.Core.CoreWindow", nullptr);
    return core ? core : window;
}

std::wstring ExecutablePath(HWND window)
{
    DWORD id = 0;
    if (GetWindowThreadProcessId(window, &id) == 0) return std::wstring();
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return std::wstring();
    wchar_t path[2 * MAX_PATH];
    DWORD length = 2 * MAX_PATH;
    BOOL read = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    return read ? std::wstring(path, length) : std::wstring();
}

HICON SmallIconOfFile(const std::wstring& i_path)
{
    HICON icon = nullptr;
    // UINT_MAX: the file could not be read, and the handle may hold anything.
    UINT count = ExtractIconExW(i_path.c_str(), 0, nullptr, &icon, 1);
    return count == UINT_MAX ? nullptr : icon;
}

}  // namespace

HICON AppIconOf(HWND window)
{
    std::wstring path = ExecutablePath(ProgramWindow(window));
    if (path.empty()) return nullptr;
    auto found = Icons().find(path);
    if (found != Icons().end()) return found->second;
    // The entry first: a failed allocation then leaves no icon without an owner. A file
    // without an icon is remembered too, and not read again.
    HICON& icon = Icons().emplace(path, nullptr).first->second;
    icon = SmallIconOfFile(path);
    return icon;
}

void FreeAppIcons()
{
    for (auto& entry : Icons()) {
        if (entry.second) DestroyIcon(entry.second);
    }
    Icons().clear();
}
