#include "support/code_page_text.h"

#include "support/ini/ini_encoding.h"

std::u16string Utf16FromCodePage(UINT codePage, const std::string& i_text)
{
    if (i_text.empty()) return {};
    int size = static_cast<int>(i_text.size());
    int length = MultiByteToWideChar(codePage, 0, i_text.data(), size, nullptr, 0);
    std::u16string text(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(codePage, 0, i_text.data(), size, reinterpret_cast<wchar_t*>(&text[0]), length);
    return text;
}

std::string Utf8FromAnsi(const std::string& i_text) { return Utf8FromUtf16(Utf16FromCodePage(CP_ACP, i_text)); }

bool ExactAnsiFromWide(const std::wstring& i_text, std::string* o_text)
{
    o_text->clear();
    if (i_text.empty()) return true;
    int size = static_cast<int>(i_text.size());
    BOOL lost = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, i_text.data(), size, nullptr, 0, nullptr, &lost);
    if (length == 0 || lost) return false;
    o_text->resize(static_cast<size_t>(length));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, i_text.data(), size, &(*o_text)[0], length, nullptr, nullptr);
    return true;
}

std::string AnsiFromUtf8(const std::string& i_text)
{
    std::u16string wide = Utf16FromUtf8(i_text);
    if (wide.empty()) return {};
    const wchar_t* data = reinterpret_cast<const wchar_t*>(wide.data());
    int size = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(CP_ACP, 0, data, size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, data, size, &text[0], length, nullptr, nullptr);
    return text;
}
