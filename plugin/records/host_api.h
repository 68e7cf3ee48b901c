#pragma once
// The host's services, bound by name from the host's main module.
#include <windows.h>

#include "plugin/records/interface_sizes.h"
#include "plugin/records/zlvn_interface.h"

// Log levels: smaller is more severe. The numbers are what the host receives.
enum LogLevel : int {
    kLogFailure = 2,  // something was lost: a save, an entry that threw
    kLogWarning = 3,  // the plug-in goes on with less: defaults, a cut list, a refused host
    kLogDetail = 4,   // below the host's default threshold: each host function missing
};
constexpr unsigned char kLogThresholdUnknown = 8;
constexpr unsigned char kLogThresholdDefault = kLogWarning;  // warnings pass, details do not

class ZlvnAPI {
public:
    // Binds every name afresh from the process's main module.
    ZlvnAPI();

    bool IsBound(ZlvnFn fn) const { return m_functions[static_cast<int>(fn)] != nullptr; }
    HMODULE HostModule() const { return m_hostModule; }

    // Host calls. A function the host does not export is not called: the call does
    // nothing and reports false, and a list read yields no records.
    bool GetVersion(char* o_text, int size);
    bool GetQuickOption(unsigned char o_record[kQuickOptionSize]);
    bool GetWindowHandles(HWND* o_first, HWND* o_second);
    int GetList(void* o_items, int* io_size);
    void RegisterFocus(HWND hwnd);
    void UnregisterFocus(HWND hwnd);
    void ReloadMenu(const char* i_pluginName);

    // True when the host's version lies in [lower, upper), compared as text.
    bool CheckVersion(const char* i_lower, const char* i_upper);
    void ReportVersionMismatch(const char* i_name, const char* i_lower, const char* i_upper);
    void ReportMissingFunctions(const char* i_name);

    // The log channel: one line "prefix message", cut to 255 characters.
    void Print(int level, const char* i_prefix, const char* format, ...)
        __attribute__((format(gnu_printf, 4, 5)));

private:
    // Fills o_version with the host's version, "version " skipped; empty when unknown.
    void ReadHostVersion(char (&o_version)[kHostVersionSize]);

    FARPROC m_functions[kZlvnFnCount];
    HMODULE m_hostModule;
    unsigned char m_logThreshold;
    zlvn_fn::PrintRaw m_printRaw;
    zlvn_fn::PrintErrRaw m_printErrRaw;
};

// g_zlvnAPI, the plug-in's table, is declared with the floor's other module-wide variables.
