#include "host/window_list.h"

#include <cstring>

namespace {

struct enum_state_t {
    HWND except;
    std::vector<ZlvnList>* list;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param)
{
    auto* state = reinterpret_cast<enum_state_t*>(param);
    if (hwnd == state->except || !IsSwitchableWindow(hwnd)) return TRUE;
    ZlvnList item = {};
    item.hwnd = hwnd;
    GetWindowTextA(hwnd, item.text, sizeof item.text);
    state->list->push_back(item);
    return TRUE;
}

}  // namespace

bool IsSwitchableWindow(HWND hwnd)
{
    if (!IsWindowVisible(hwnd) || GetWindowTextLengthA(hwnd) == 0) return false;
    LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    if (exStyle & WS_EX_APPWINDOW) return true;
    if (exStyle & WS_EX_TOOLWINDOW) return false;
    return GetWindow(hwnd, GW_OWNER) == nullptr;
}

std::vector<ZlvnList> ListAppWindows(HWND except)
{
    std::vector<ZlvnList> list;
    enum_state_t state{except, &list};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return list;
}

bool SameList(const std::vector<ZlvnList>& a, const std::vector<ZlvnList>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].hwnd != b[i].hwnd || strncmp(a[i].text, b[i].text, sizeof a[i].text) != 0) return false;
    }
    return true;
}
