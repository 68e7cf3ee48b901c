#pragma once
// The text of a Win32 error code, for failure records.
#include <windows.h>

class GetWinLastError {
public:
    // Code 0 leaves both texts empty.
    explicit GetWinLastError(DWORD code);

    DWORD m_code;
    char m_label[48];     // "GetLastError()=%d(0x%08x)"
    char m_message[1024]; // the system's text, on one line, or why there is none
};
