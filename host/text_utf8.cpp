#include "host/text_utf8.h"

#include <windows.h>

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
