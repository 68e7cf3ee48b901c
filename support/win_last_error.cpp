#include "support/win_last_error.h"

#include "support/bounded_text.h"
#include "support/owners.h"
#include "support/system_module.h"

// Codes of the Internet functions, whose texts live in WININET.DLL's message table.
static bool IsInternetError(DWORD code) { return code >= 12000 && code <= 15999; }

GetWinLastError::GetWinLastError(DWORD code) : m_code(code), m_label{}, m_message{}
{
    if (code == 0) return;
    FormatText(m_label, sizeof m_label - 1, "GetLastError()=%d(0x%08x)", static_cast<int>(code),
               static_cast<unsigned>(code));

    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM |
                  FORMAT_MESSAGE_MAX_WIDTH_MASK;
    ModuleOwner wininet;
    if (IsInternetError(code)) {
        wininet.Reset(LoadSystemModule(L"wininet.dll"));
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    char* text = nullptr;
    DWORD length = FormatMessageA(flags, wininet.Get(), code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&text), 0, nullptr);
    LocalMemory allocated(text);
    if (length != 0 && text != nullptr) {
        CopyText(m_message, sizeof m_message - 1, text);
    } else {
        DWORD failure = GetLastError();
        FormatText(m_message, sizeof m_message - 1, "Failed FormatMessage(%s)=%d(0x%08x)", m_label,
                   static_cast<int>(failure), static_cast<unsigned>(failure));
    }
}
