#include "tests/common/window_search.h"

namespace {

struct search_t { const WindowMatch& match; std::vector<HWND> found; };

BOOL CALLBACK Collect(HWND hwnd, LPARAM io)
{
    auto& search = *reinterpret_cast<search_t*>(io);
    if (search.match(hwnd)) search.found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindows(const WindowMatch& match)
{
    search_t search{match, {}};
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildWindows(HWND parent, const WindowMatch& match)
{
    search_t search{match, {}};
    if (parent) EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildWithText(HWND parent, const std::string& text)
{
    std::vector<HWND> found = ChildWindows(parent, [&text](HWND hwnd) { return WindowText(hwnd) == text; });
    return found.empty() ? nullptr : found.front();
}

std::string ClassName(HWND hwnd)
{
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string WindowText(HWND hwnd)
{
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}
