#include "host/text_utf8.h"

#include <windows.h>

#include "support/code_page_text.h"
#include "support/ini/ini_encoding.h"

std::string AnsiToUtf8(const char* i_text) { return i_text ? Utf8FromAnsi(i_text) : std::string(); }

std::string SettingsFileAsUtf8(const std::string& i_bytes, std::string* o_encoding)
{
    size_t mark = 0;
    IniEncoding encoding = DetectIniEncoding(i_bytes, &mark);
    std::string body = i_bytes.substr(mark);
    switch (encoding) {
    case IniEncoding::Utf8: *o_encoding = "UTF-8 with a byte order mark"; return body;
    case IniEncoding::Utf16Le: *o_encoding = "UTF-16 LE with a byte order mark"; return Utf8FromUtf16(Utf16FromBytes(body, false));
    case IniEncoding::Utf16Be: *o_encoding = "UTF-16 BE with a byte order mark"; return Utf8FromUtf16(Utf16FromBytes(body, true));
    case IniEncoding::Ansi: break;
    }
    *o_encoding = "the ANSI code page " + std::to_string(GetACP());
    return Utf8FromAnsi(body);
}
