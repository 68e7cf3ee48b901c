#include "support/ini/ini_text.h"

#include <climits>
#include <cstdlib>
#include <set>

namespace {

using NameSet = std::set<std::string, IniNameLess>;

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == 0x1a || c == ' '; }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The bytes from i_begin to i_end with blanks at both ends dropped, cut at the first NUL
// (the reader compares and copies its wide strings only up to there).
std::string Trimmed(const std::string& i_text, size_t i_begin, size_t i_end)
{
    while (i_begin < i_end && IsBlank(i_text[i_begin])) ++i_begin;
    while (i_end > i_begin && IsBlank(i_text[i_end - 1])) --i_end;
    std::string piece = i_text.substr(i_begin, i_end - i_begin);
    return piece.substr(0, piece.find('\0'));
}

// A value between a pair of equal quotes (' or ") is read without them.
std::string WithoutQuotes(std::string value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

bool IniNameLess::operator()(const std::string& a, const std::string& b) const
{
    size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(FoldAscii(a[i]));
        unsigned char y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

ini_line_t ReadIniLine(const std::string& i_text, size_t i_at, bool (*i_leadByte)(unsigned char))
{
    ini_line_t line;
    size_t begin = i_at, end = i_at;
    while (end < i_text.size() && i_text[end] != '\n' && i_text[end] != '\r') ++end;
    line.lineEnd = end;
    line.next = end;
    while (line.next < i_text.size() && (i_text[line.next] == '\n' || i_text[line.next] == '\r')) ++line.next;

    while (begin < end && IsBlank(i_text[begin])) ++begin;
    while (end > begin && IsBlank(i_text[end - 1])) --end;
    line.begin = begin;
    line.end = end;
    if (begin == end) return line;

    if (i_text[begin] == '[') {
        // The line's last ']' that is a character of its own, not the second byte of one.
        size_t close = begin;
        for (size_t at = begin + 1; at < end; ++at) {
            if (i_text[at] == ']') close = at;
            else if (i_leadByte && i_leadByte(static_cast<unsigned char>(i_text[at]))) ++at;
        }
        if (close > begin) {
            line.header = true;
            line.name = Trimmed(i_text, begin + 1, close);
            return line;
        }
        // Without ']' the line is an ordinary key line.
    }

    size_t equals = begin;
    while (equals < end && i_text[equals] != '=') ++equals;
    line.name = Trimmed(i_text, begin, equals);
    line.hasValue = equals < end;
    line.valueBegin = line.valueEnd = end;
    if (line.hasValue) {
        line.valueBegin = equals + 1;
        while (line.valueBegin < end && IsBlank(i_text[line.valueBegin])) ++line.valueBegin;
    }
    return line;
}

bool SameIniName(const std::string& a, const std::string& b) { return !IniNameLess()(a, b) && !IniNameLess()(b, a); }

void ParseIniText(const std::string& i_text, IniCache& o_cache)
{
    o_cache.clear();
    NameSet sections{""};  // the lines before the first header
    NameSet keys;          // key names met so far in the current section
    std::string section;
    bool readable = true;  // false inside a later section of a name already met

    for (size_t at = 0; at < i_text.size();) {
        const ini_line_t line = ReadIniLine(i_text, at, nullptr);
        at = line.next;
        if (line.begin == line.end) continue;
        if (line.header) {
            section = line.name;
            readable = sections.insert(section).second;
            keys.clear();
            continue;
        }
        // Only the first key of a name is ever found, with or without a value.
        if (!readable || !keys.insert(line.name).second || !line.hasValue) continue;
        o_cache[section].emplace(line.name, WithoutQuotes(Trimmed(i_text, line.valueBegin, line.valueEnd)));
    }
}

const std::string* FindIniValue(const IniCache& i_cache, const std::string& i_section, const std::string& i_key)
{
    auto section = i_cache.find(Trimmed(i_section, 0, i_section.size()));
    if (section == i_cache.end()) return nullptr;
    auto key = section->second.find(Trimmed(i_key, 0, i_key.size()));
    return key == section->second.end() ? nullptr : &key->second;
}

int IniTextToInt(const std::string& i_value)
{
    // long long is 64 bits everywhere; a text beyond it saturates there first.
    long long value = strtoll(i_value.c_str(), nullptr, 10);
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
