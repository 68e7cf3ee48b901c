// The host functions. Each program that plays the host exports the ones it offers
// through a .def file; functions the plug-in binds but never calls just answer 0.
#include "host/zlvn_host.h"

#include <algorithm>
#include <cstring>

#include "support/bounded_text.h"

namespace zlvnhost {

HostState& Host()
{
    static HostState state;
    return state;
}

void ResetHost() { Host() = HostState(); }

void AddListItem(HWND hwnd, const char* text, unsigned char flag)
{
    ZlvnList item = {};
    item.hwnd = hwnd;
    CopyText(item.text, text);
    item.flag = flag;
    Host().list.push_back(item);
}

static void Record(const char* name)
{
    Host().calls.emplace_back(name);
    if (Host().onCall) Host().onCall(name);
}

static void Log(int level, const char* text)
{
    if (Host().onCall) Host().onCall(level < 0 ? "Zlvn_PrintErrRaw" : "Zlvn_PrintRaw");
    LogLine line{level, text ? text : ""};
    Host().log.push_back(line);
    if (Host().onLog) Host().onLog(Host().log.back());
}

}  // namespace zlvnhost

using namespace zlvnhost;

#define ZLVN_UNUSED_HOST_FUNCTION(name) \
    extern "C" int __stdcall Zlvn_##name() { Record("Zlvn_" #name); return 0; }

ZLVN_UNUSED_HOST_FUNCTION(GetFocusHandleByItemIndex)
ZLVN_UNUSED_HOST_FUNCTION(GetFocusHandleSelected)
ZLVN_UNUSED_HOST_FUNCTION(GetHandleByItemIndex)
ZLVN_UNUSED_HOST_FUNCTION(GetHandleSelected)
ZLVN_UNUSED_HOST_FUNCTION(GetItemIndexSelected)
ZLVN_UNUSED_HOST_FUNCTION(GetInitialList)
ZLVN_UNUSED_HOST_FUNCTION(GetPosition)
ZLVN_UNUSED_HOST_FUNCTION(GetPositionSelected)
ZLVN_UNUSED_HOST_FUNCTION(GetStatus)
ZLVN_UNUSED_HOST_FUNCTION(GetModePosition)
ZLVN_UNUSED_HOST_FUNCTION(SetCursorByItemIndex)
ZLVN_UNUSED_HOST_FUNCTION(SetCursorByHandle)
ZLVN_UNUSED_HOST_FUNCTION(RegisterCustomList)
ZLVN_UNUSED_HOST_FUNCTION(UnregisterCustomList)
ZLVN_UNUSED_HOST_FUNCTION(EnterMode)
ZLVN_UNUSED_HOST_FUNCTION(ExitMode)
ZLVN_UNUSED_HOST_FUNCTION(UpdateMode)
ZLVN_UNUSED_HOST_FUNCTION(IsMode)
ZLVN_UNUSED_HOST_FUNCTION(SuspendHook)
ZLVN_UNUSED_HOST_FUNCTION(UpdateList)
ZLVN_UNUSED_HOST_FUNCTION(SendHotKey)

extern "C" int __stdcall Zlvn_GetVersion(char* o_text, int size)
{
    Record("Zlvn_GetVersion");
    if (o_text && size > 0) CopyText(o_text, size, Host().version.c_str());
    return 0;
}

extern "C" int __stdcall Zlvn_GetQuickOption(unsigned char* o_record)
{
    Record("Zlvn_GetQuickOption");
    if (o_record) memcpy(o_record, Host().quickOption, sizeof Host().quickOption);
    return 0;
}

extern "C" int __stdcall Zlvn_GetWindowHandles(HWND* o_first, HWND* o_second)
{
    Record("Zlvn_GetWindowHandles");
    if (o_first) *o_first = Host().windowHandles[0];
    if (o_second) *o_second = Host().windowHandles[1];
    return 0;
}

extern "C" int __stdcall Zlvn_GetList(void* o_items, int* io_size)
{
    Record("Zlvn_GetList");
    const auto& list = Host().list;
    if (o_items == nullptr) return Host().countAnswer.value_or(static_cast<int>(list.size()));
    int room = io_size ? *io_size / static_cast<int>(sizeof(ZlvnList)) : 0;
    int count = std::min(room, static_cast<int>(list.size()));
    if (count > 0) memcpy(o_items, list.data(), count * sizeof(ZlvnList));
    return Host().readAnswer.value_or(count);
}

extern "C" int __stdcall Zlvn_RegisterFocus(HWND hwnd)
{
    Record("Zlvn_RegisterFocus");
    Host().focusWindows.push_back(hwnd);
    ++Host().registerCount;
    return 0;
}

extern "C" int __stdcall Zlvn_UnregisterFocus(HWND hwnd)
{
    Record("Zlvn_UnregisterFocus");
    auto& windows = Host().focusWindows;
    windows.erase(std::remove(windows.begin(), windows.end(), hwnd), windows.end());
    ++Host().unregisterCount;
    return 0;
}

extern "C" int __stdcall Zlvn_ReloadMenu(const char* i_name)
{
    Record("Zlvn_ReloadMenu");
    if (Host().onReloadMenu) Host().onReloadMenu(i_name ? i_name : "");
    return 0;
}

extern "C" int __stdcall Zlvn_GetLogSeverity(unsigned char* o_threshold)
{
    Record("Zlvn_GetLogSeverity");
    if (o_threshold) *o_threshold = Host().logSeverity;
    return 0;
}

extern "C" int __stdcall Zlvn_PrintRaw(int level, const char* i_text)
{
    Log(level, i_text);
    return 0;
}

extern "C" int __stdcall Zlvn_PrintErrRaw(const char* i_text)
{
    Log(-1, i_text);
    return 0;
}
