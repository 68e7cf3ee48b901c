#include "support/app_info.h"

#include <cwchar>
#include <vector>

#include "support/last_error.h"
#include "support/win_last_error.h"

namespace {

// The module's full name through the wide functions, so that a folder the ANSI code page
// cannot hold works; empty with the error set when it cannot be had whole.
std::wstring ModuleName(HMODULE i_module)
{
    std::wstring name(kLongestPath, L'\0');
    DWORD length = GetModuleFileNameW(i_module, &name[0], kLongestPath);
    if (length >= kLongestPath) SetLastError(ERROR_INSUFFICIENT_BUFFER), length = 0;
    name.resize(length);
    return name;
}

// The FileVersion text of the block's first translation (only the first is asked, even
// when a later one has the text) and its length in characters; null when the block lacks
// it, with the failure recorded.
const wchar_t* FileVersionText(std::vector<char>& io_block, UINT* o_length)
{
    struct translation_t {
        WORD language;
        WORD codePage;
    };
    translation_t* translations = nullptr;
    UINT length = 0;
    BOOL found = VerQueryValueW(io_block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                                &length);
    if (!found || translations == nullptr || length < sizeof(translation_t)) {
        DWORD error = GetLastError();
        ZLVN_RECORD_FAILURE("VerQueryValue() return %d. GetLastError()=%d.", found, static_cast<int>(error));
        return nullptr;
    }
    wchar_t subBlock[64];
    swprintf(subBlock, sizeof subBlock / sizeof subBlock[0], L"\\StringFileInfo\\%04x%04x\\FileVersion",
             translations[0].language, translations[0].codePage);
    wchar_t* version = nullptr;
    found = VerQueryValueW(io_block.data(), subBlock, reinterpret_cast<void**>(&version), o_length);
    if (!found || version == nullptr) {
        DWORD error = GetLastError();
        ZLVN_RECORD_FAILURE("VerQueryValue() return %d. GetLastError()=%d.", found, static_cast<int>(error));
        return nullptr;
    }
    return version;
}

}  // namespace

ResultCode AppInfo::GetFileVersion(std::string* o_str)
{
    if (o_str == nullptr) {
        ZLVN_RECORD_FAILURE("o_str is NULL");
        return ResultCode::InvalidArgument;
    }
    const std::wstring path = ModuleName(m_module);
    if (path.empty()) {
        GetWinLastError error(GetLastError());
        ZLVN_RECORD_FAILURE("failed GetModuleFileName() GetLastError()=%s", error.m_message);
        return ResultCode::WindowsApiError;
    }

    // A module without a version resource reports size 0 and fails at the read below.
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    std::vector<char> block(size > 0 ? size : 1);
    BOOL read = GetFileVersionInfoW(path.c_str(), 0, size, block.data());
    if (!read) {
        DWORD error = GetLastError();
        ZLVN_RECORD_FAILURE("GetFileVersionInfo() return %d. GetLastError()=%d.", read, static_cast<int>(error));
        o_str->clear();
        return ResultCode::WindowsApiError;
    }

    UINT length = 0;
    const wchar_t* version = FileVersionText(block, &length);
    if (version == nullptr) {
        o_str->clear();
        return ResultCode::WindowsApiError;
    }
    // Bounded by the length the resource states (in characters), in case its text lacks a
    // NUL; handed on in the ANSI code page, as the box shows it.
    const int count = static_cast<int>(wcsnlen(version, length));
    const int bytes = WideCharToMultiByte(CP_ACP, 0, version, count, nullptr, 0, nullptr, nullptr);
    o_str->assign(static_cast<size_t>(bytes), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, version, count, &(*o_str)[0], bytes, nullptr, nullptr);
    return ResultCode::Normal;
}
