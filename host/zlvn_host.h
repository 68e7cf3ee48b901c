#pragma once
// Our stand-in for the window-switching host: the state behind the Zlvn_ functions
// that a host program (the reference host or a test) exports to the plug-in.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plugin/records/interface_sizes.h"
#include "plugin/records/zlvn_interface.h"

namespace zlvnhost {

struct LogLine {
    int level;         // -1 when the line came through Zlvn_PrintErrRaw
    std::string text;
};

struct HostState {
    std::string version = "version 0.9.6.33";  // what Zlvn_GetVersion answers
    unsigned char logSeverity = 3;              // what Zlvn_GetLogSeverity answers
    unsigned char quickOption[kQuickOptionSize] = {};
    std::vector<ZlvnList> list;                 // the window list handed out by Zlvn_GetList
    // When set, what Zlvn_GetList answers instead, to the counting call or the reading one
    // (a host in trouble); the reading call still copies what fits.
    std::optional<int> countAnswer, readAnswer;
    HWND windowHandles[2] = {};                 // what Zlvn_GetWindowHandles answers

    std::vector<std::string> calls;             // every host function called, by name, in order
    std::vector<LogLine> log;
    std::vector<HWND> focusWindows;             // windows registered and not yet unregistered
    int registerCount = 0;
    int unregisterCount = 0;

    std::function<void(const LogLine&)> onLog;          // e.g. print the line
    std::function<void(const char* name)> onReloadMenu; // e.g. ask for the menu again
    // At the start of every host function, by name: a host may call the plug-in back
    // from inside any of its functions.
    std::function<void(const char* fn)> onCall;
};

// The one host state of this process.
HostState& Host();

// Back to a fresh state (keeps nothing of the previous one).
void ResetHost();

// Appends a record for a window to the list.
void AddListItem(HWND hwnd, const char* text, unsigned char flag = 0);

}  // namespace zlvnhost
