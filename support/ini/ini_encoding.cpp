#include "support/ini/ini_encoding.h"

IniEncoding DetectIniEncoding(const std::string& i_bytes, size_t* o_markSize)
{
    *o_markSize = 0;
    if (i_bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        *o_markSize = 3;
        return IniEncoding::Utf8;
    }
    if (i_bytes.compare(0, 2, "\xFF\xFE") == 0) {
        *o_markSize = 2;
        return IniEncoding::Utf16Le;
    }
    if (i_bytes.compare(0, 2, "\xFE\xFF") == 0) {
        *o_markSize = 2;
        return IniEncoding::Utf16Be;
    }
    return IniEncoding::Ansi;
}

std::u16string Utf16FromBytes(const std::string& i_bytes, bool i_bigEndian)
{
    std::u16string text;
    text.reserve(i_bytes.size() / 2 + 1);
    size_t i = 0;
    for (; i + 1 < i_bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(i_bytes[i]);
        auto second = static_cast<unsigned char>(i_bytes[i + 1]);
        text += static_cast<char16_t>(i_bigEndian ? first << 8 | second : second << 8 | first);
    }
    if (i < i_bytes.size()) text += static_cast<char16_t>(static_cast<unsigned char>(i_bytes[i]));
    return text;
}

std::string Utf8FromUtf16(const std::u16string& i_text)
{
    std::string text;
    text.reserve(i_text.size());
    for (size_t i = 0; i < i_text.size(); ++i) {
        char32_t c = i_text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < i_text.size() && i_text[i + 1] >= 0xDC00 && i_text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (i_text[++i] - 0xDC00);
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | c >> 6);
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | c >> 12);
            text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | c >> 18);
            text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::u16string Utf16FromUtf8(const std::string& i_text)
{
    std::u16string text;
    text.reserve(i_text.size());
    size_t i = 0;
    while (i < i_text.size()) {
        auto lead = static_cast<unsigned char>(i_text[i]);
        size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        char32_t c = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : length == 2 ? lead & 0x1F : lead;
        bool whole = length != 0 && i + length <= i_text.size();
        for (size_t k = 1; whole && k < length; ++k) {
            auto next = static_cast<unsigned char>(i_text[i + k]);
            whole = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        if (!whole || c > 0x10FFFF) {
            text += u'\xFFFD';  // not of our own making: a stray byte
            ++i;
            continue;
        }
        i += length;
        if (c >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(c);
        }
    }
    return text;
}
