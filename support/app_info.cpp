#include "support/app_info.h"

#include <cstring>
#include <vector>

#include "support/bounded_text.h"
#include "support/last_error.h"
#include "support/win_last_error.h"

ResultCode AppInfo::GetFileVersion(std::string* o_str)
{
    if (o_str == nullptr) {
        ZLVN_RECORD_FAILURE("o_str is NULL");
        return ResultCode::InvalidArgument;
    }
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(m_module, path, MAX_PATH) == 0) {
        GetWinLastError error(GetLastError());
        ZLVN_RECORD_FAILURE("failed GetModuleFileName() GetLastError()=%s", error.m_message);
        return ResultCode::WindowsApiError;
    }

    // A module without a version resource reports size 0 and fails at the read below.
    DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    std::vector<char> block(size > 0 ? size : 1);
    BOOL read = GetFileVersionInfoA(path, 0, size, block.data());
    if (!read) {
        DWORD error = GetLastError();
        ZLVN_RECORD_FAILURE("GetFileVersionInfo() return %d. GetLastError()=%d.", read, static_cast<int>(error));
        o_str->clear();
        return ResultCode::WindowsApiError;
    }

    struct translation_t {
        WORD language;
        WORD codePage;
    };
    translation_t* translations = nullptr;
    UINT length = 0;
    BOOL found = VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                                &length);
    if (!found || translations == nullptr || length < sizeof(translation_t)) {
        DWORD error = GetLastError();
        ZLVN_RECORD_FAILURE("VerQueryValue() return %d. GetLastError()=%d.", found, static_cast<int>(error));
        o_str->clear();
        return ResultCode::WindowsApiError;
    }

    // Only the first translation is asked, even when a later one has the text.
    char subBlock[1024];
    FormatText(subBlock, sizeof subBlock, "\\StringFileInfo\\%04x%04x\\FileVersion", translations[0].language,
               translations[0].codePage);
    char* version = nullptr;
    found = VerQueryValueA(block.data(), subBlock, reinterpret_cast<void**>(&version), &length);
    if (!found || version == nullptr) {
        DWORD error = GetLastError();
        ZLVN_RECORD_FAILURE("VerQueryValue() return %d. GetLastError()=%d.", found, static_cast<int>(error));
        o_str->clear();
        return ResultCode::WindowsApiError;
    }
    // Bounded by the length the resource states, in case its text lacks a NUL.
    o_str->assign(version, strnlen(version, length));
    return ResultCode::Normal;
}
