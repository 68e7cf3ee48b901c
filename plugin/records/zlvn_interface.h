#pragma once
// The host's interface, said once: the records the host and the plug-in exchange, the
// host's functions in its table order, and the plug-in's entry points. The plug-in's
// binding, the reference host, the test programs and both modules' .def files are made
// from it (CMake has the compiler expand the H, L and E rows below, see
// cmake/zlvn_interface.cmake). Every function is __stdcall, undecorated.
#include <windows.h>

#include <cstddef>

#pragma pack(push, 1)
// One record of the host's window list: 268 bytes, records back to back.
struct ZlvnList {
    unsigned int reserved;  // not read by the plug-in
    HWND hwnd;              // the listed window
    char text[256];         // item text; the host may leave it without a terminator
    unsigned char flag;     // non-zero: the record makes no new hint
    unsigned char unused[3];
};

// One of the plug-in's commands as the host receives them: 666-byte entries back to back.
struct menu_entry_t {
    unsigned char flag;     // always 1
    unsigned char checked;  // 1 = shown with a check mark
    char caption[48];
    char shortcut[24];
    char command[592];      // name of the exported command function
};
#pragma pack(pop)
static_assert(sizeof(ZlvnList) == 268, "host list record is 268 bytes");
static_assert(sizeof(menu_entry_t) == 666, "host menu entry is 666 bytes");

// The host's functions, "Zlvn_" + name, in the host's table order:
// H(name, result, parameters, bytes of arguments).
#define ZLVN_HOST_FUNCTIONS(H) \
    H(GetFocusHandleByItemIndex, int, (), 0) \
    H(GetFocusHandleSelected, int, (), 0) \
    H(GetHandleByItemIndex, int, (), 0) \
    H(GetHandleSelected, int, (), 0) \
    H(GetItemIndexSelected, int, (), 0) \
    H(GetList, int, (void* o_items, int* io_size), 8) \
    H(GetInitialList, int, (), 0) \
    H(GetPosition, int, (), 0) \
    H(GetPositionSelected, int, (), 0) \
    H(GetQuickOption, int, (unsigned char* o_record), 4) \
    H(GetStatus, int, (), 0) \
    H(GetVersion, int, (char* o_text, int size), 8) \
    H(GetWindowHandles, int, (HWND* o_first, HWND* o_second), 8) \
    H(GetModePosition, int, (), 0) \
    H(GetLogSeverity, int, (unsigned char* o_threshold), 4) \
    H(SetCursorByItemIndex, int, (), 0) \
    H(SetCursorByHandle, int, (), 0) \
    H(RegisterFocus, int, (HWND hwnd), 4) \
    H(UnregisterFocus, int, (HWND hwnd), 4) \
    H(RegisterCustomList, int, (), 0) \
    H(UnregisterCustomList, int, (), 0) \
    H(EnterMode, int, (), 0) \
    H(ExitMode, int, (), 0) \
    H(UpdateMode, int, (), 0) \
    H(IsMode, int, (), 0) \
    H(SuspendHook, int, (), 0) \
    H(UpdateList, int, (), 0) \
    H(SendHotKey, int, (), 0) \
    H(ReloadMenu, int, (const char* i_name), 4)

// The host's log channel, looked up apart from the table.
#define ZLVN_HOST_LOG_FUNCTIONS(L) \
    L(PrintRaw, int, (int level, const char* i_text), 8) \
    L(PrintErrRaw, int, (const char* i_text), 4)

// The plug-in's entry points, one row each and said only here: the export table, the
// exports' bodies, the event gate, the menu block, the reference host's bindings and the
// tests take them from this list.
// E(name, result, parameters, bytes of arguments, kind, event raised, opens a modal
//   window, menu caption); the menu lists the command rows in this order.
// Kinds: Answer (answered at once, no event), Life (set-up and teardown), Event (a host
// event), Command (a menu command), CheckedCommand (a menu command checked at load).
// The two form variables _OKBottomDlg and _AboutBox are exported beside them as data.
#define ZLVN_PLUGIN_EXPORTS(E) \
    E(Zlvn_OnGetPluginInfo, void, (char* o_info), 4, Answer, None, 0, "") \
    E(Zlvn_OnSetup, int, (void* unused), 4, Life, Setup, 0, "") \
    E(Zlvn_OnSetupSubMenu, void, (int* o_count, void* o_items), 8, Answer, None, 0, "") \
    E(Zlvn_OnTeardown, int, (), 0, Life, Teardown, 0, "") \
    E(Zlvn_OnActive, void, (), 0, Event, Active, 0, "") \
    E(Zlvn_OnInactive, void, (), 0, Event, Hide, 0, "") \
    E(Zlvn_OnWindowActive, void, (void* unused), 4, Event, Hide, 0, "") \
    E(Zlvn_OnUpdateList, void, (), 0, Event, UpdateList, 0, "") \
    E(Zlvn_OnChangeQuickOption, void, (), 0, Event, QuickOption, 0, "") \
    E(HintToggleEnable, void, (void* unused), 4, CheckedCommand, Toggle, 0, "有効(&T)") \
    E(HintOption, void, (void* unused), 4, Command, Option, 1, "設定") \
    E(HintVersion, void, (void* unused), 4, Command, Version, 1, "バージョン(&A)")

// ZLVN_IF_RAISES(kind, text): the text for a row that raises an event, else nothing;
// ZLVN_IF_MENU(kind, text) likewise for a menu command.
#define ZLVN_IF_RAISES(kind, ...) ZLVN_IF_RAISES_##kind(__VA_ARGS__)
#define ZLVN_IF_RAISES_Answer(...)
#define ZLVN_IF_RAISES_Life(...) __VA_ARGS__
#define ZLVN_IF_RAISES_Event(...) __VA_ARGS__
#define ZLVN_IF_RAISES_Command(...) __VA_ARGS__
#define ZLVN_IF_RAISES_CheckedCommand(...) __VA_ARGS__
#define ZLVN_IF_MENU(kind, ...) ZLVN_IF_MENU_##kind(__VA_ARGS__)
#define ZLVN_IF_MENU_Answer(...)
#define ZLVN_IF_MENU_Life(...)
#define ZLVN_IF_MENU_Event(...)
#define ZLVN_IF_MENU_Command(...) __VA_ARGS__
#define ZLVN_IF_MENU_CheckedCommand(...) __VA_ARGS__

enum class ZlvnEntryKind : unsigned char { Answer, Life, Event, Command, CheckedCommand };

struct ZlvnEntry {
    const char* name;
    ZlvnEntryKind kind;
    bool modal;  // opens a modal window

    // A host cannot run the plug-in without these; the others it may leave uncalled.
    constexpr bool HostNeeds() const { return kind == ZlvnEntryKind::Answer || kind == ZlvnEntryKind::Life; }
    constexpr bool InMenu() const { return kind == ZlvnEntryKind::Command || kind == ZlvnEntryKind::CheckedCommand; }
};

constexpr ZlvnEntry kZlvnEntries[] = {
#define ZLVN_ENTRY_ROW(name, result, params, bytes, kind, event, modal, caption) {#name, ZlvnEntryKind::kind, modal != 0},
    ZLVN_PLUGIN_EXPORTS(ZLVN_ENTRY_ROW)
#undef ZLVN_ENTRY_ROW
};

constexpr int CountMenuEntries()
{
    int count = 0;
    for (const ZlvnEntry& entry : kZlvnEntries) count += entry.InMenu() ? 1 : 0;
    return count;
}
constexpr int kMenuEntryCount = CountMenuEntries();  // 3
constexpr size_t kMenuBlockSize = kMenuEntryCount * sizeof(menu_entry_t);  // 1998

// Index of each host function in the table.
enum class ZlvnFn : int {
#define ZLVN_ENUM_ROW(name, result, params, bytes) name,
    ZLVN_HOST_FUNCTIONS(ZLVN_ENUM_ROW)
#undef ZLVN_ENUM_ROW
    Count
};
constexpr int kZlvnFnCount = static_cast<int>(ZlvnFn::Count);  // 29

// Pointer types: zlvn_fn::GetList is the host's Zlvn_GetList, zlvn_export::Zlvn_OnSetup
// the plug-in's export.
namespace zlvn_fn {
#define ZLVN_TYPE_ROW(name, result, params, ...) using name = result(__stdcall*) params;
ZLVN_HOST_FUNCTIONS(ZLVN_TYPE_ROW)
ZLVN_HOST_LOG_FUNCTIONS(ZLVN_TYPE_ROW)
}  // namespace zlvn_fn
namespace zlvn_export {
ZLVN_PLUGIN_EXPORTS(ZLVN_TYPE_ROW)
#undef ZLVN_TYPE_ROW
}  // namespace zlvn_export
