#pragma once
// File version of a loaded module, from its version resource.
#include <windows.h>

#include <string>

#include "support/result_code.h"

// The longest name the file functions take, with its NUL: a module's full name at any
// length fits a buffer this long.
constexpr DWORD kLongestPath = 32768;

class AppInfo {
public:
    explicit AppInfo(HMODULE module) : m_module(module) {}

    // The FileVersion text of the resource's first translation. InvalidArgument for a
    // null o_str; WindowsApiError when the path (o_str untouched) or the text
    // (o_str emptied) cannot be read; the failure is recorded.
    ResultCode GetFileVersion(std::string* o_str);

private:
    HMODULE m_module;
};
