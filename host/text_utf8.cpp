#include "host/text_utf8.h"

#include <windows.h>

#include "support/ini_encoding.h"

std::string AnsiToUtf8(const char* i_text)
{
    if (i_text == nullptr || *i_text == '\0') return std::string();
    int wide = MultiByteToWideChar(CP_ACP, 0, i_text, -1, nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(CP_ACP, 0, i_text, -1, &w[0], wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(bytes > 0 ? bytes - 1 : 0);
    return out;
}

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
    std::string text;
    // Line by line: AnsiToUtf8 stops at a NUL.
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('\n', start);
        if (end == std::string::npos) end = body.size();
        text += AnsiToUtf8(body.substr(start, end - start).c_str());
        if (end < body.size()) text += '\n';
        start = end + 1;
    }
    return text;
}
