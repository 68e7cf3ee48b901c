#include "dialogs/dialog_rules.h"

#include <cstdint>

// Code page 932 bytes spelled out, so every compiler yields the same text.
const char* StyleText(bool bold, bool italic)
{
    if (bold && italic) return "\x91\xBE\x8E\x9A \x8E\xCE\x91\xCC";  // 太字 斜体
    if (bold) return "\x91\xBE\x8E\x9A";                                  // 太字
    if (italic) return "\x8E\xCE\x91\xCC";                                // 斜体
    return "\x95\x57\x8F\x80";                                            // 標準
}

bool TextToInt(const char* i_text, int* o_value)
{
    if (i_text == nullptr) return false;
    const char* p = i_text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    unsigned base = 10;
    if (*p == '$') { base = 16; ++p; }
    else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) { base = 16; p += 2; }
    if (*p == '\0') return false;
    // The magnitude may reach 2^31 only for a negative value.
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    uint64_t magnitude = 0;
    for (; *p; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9') digit = *p - '0';
        else if (base == 16 && *p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
        else if (base == 16 && *p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
        else return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    *o_value = static_cast<int>(value);
    return true;
}

pixel_point_t CentreOn(const pixel_rect_t& area, int width, int height)
{
    // Wide arithmetic: no rectangle or size can overflow it.
    pixel_point_t p;
    p.x = ClampToInt(area.left + (static_cast<long long>(area.right) - area.left) / 2 - width / 2);
    p.y = ClampToInt(area.top + (static_cast<long long>(area.bottom) - area.top) / 2 - height / 2);
    return p;
}

std::wstring AccessibleName(const std::wstring& prefix, const std::wstring& caption)
{
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i) {
        // A Japanese-style accelerator "(&W)" goes whole; a lone '&' marks the next letter.
        if (caption.compare(i, 2, L"(&") == 0 && i + 3 < caption.size() && caption[i + 3] == L')' &&
            caption[i + 2] != L'&') {
            i += 3;
            continue;
        }
        if (caption[i] == L'&') {
            if (++i == caption.size()) break;
        }
        text += caption[i];
    }
    if (prefix.empty()) return text;
    return text.empty() ? prefix : prefix + L" " + text;
}

int PageAfterKey(int current, int count, page_key_t key, bool ctrl, bool shift, bool alt)
{
    if (!ctrl || alt || count < 2 || key == page_key_t::Other) return -1;
    bool back = key == page_key_t::PageUp || (key == page_key_t::Tab && shift);
    if (current < 0 || current >= count) current = 0;
    return (current + (back ? count - 1 : 1)) % count;
}
