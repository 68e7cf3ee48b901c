#pragma once
// One record of the host's window list: 268 bytes, records back to back.
#include <windows.h>

#pragma pack(push, 1)
struct ZlvnList {
    unsigned int reserved;  // not read by the plug-in
    HWND hwnd;              // the listed window
    char text[256];         // item text; the host may leave it without a terminator
    unsigned char flag;     // non-zero: the record makes no new hint
    unsigned char unused[3];
};
#pragma pack(pop)
static_assert(sizeof(ZlvnList) == 268, "host list record is 268 bytes");
