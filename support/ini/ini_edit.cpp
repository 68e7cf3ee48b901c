#include "support/ini/ini_edit.h"

#include <set>

#include "support/ini/ini_encoding.h"
#include "support/ini/ini_text.h"
#include "support/lead_byte.h"

namespace {

using LeadByte = bool (*)(unsigned char);

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The file's first line end, or CRLF when it has none.
std::string LineEndOf(const std::string& i_text)
{
    size_t at = i_text.find_first_of("\r\n");
    if (at == std::string::npos) return "\r\n";
    if (i_text[at] == '\r') return i_text.compare(at, 2, "\r\n") == 0 ? "\r\n" : "\r";
    return "\n";
}

// Where a line ends together with the first line end after it (a run of several holds
// blank lines, which stay after what is put in there).
size_t AfterOwnLineEnd(const std::string& i_text, const ini_line_t& i_line)
{
    if (i_line.lineEnd == i_text.size()) return i_line.lineEnd;
    return i_line.lineEnd + (i_text.compare(i_line.lineEnd, 2, "\r\n") == 0 ? 2 : 1);
}

// A new line at i_at, with a line end of its own, and one before it where the text ends without one.
void InsertLine(std::string& io_text, size_t i_at, const std::string& i_line, const std::string& i_lineEnd)
{
    bool needsEnd = i_at == io_text.size() && i_at > 0 && !IsLineEnd(io_text[i_at - 1]);
    io_text.insert(i_at, (needsEnd ? i_lineEnd : "") + i_line + i_lineEnd);
}

void Apply(std::string& io_text, const ini_edit_t& i_edit, LeadByte i_leadByte, const std::string& i_lineEnd)
{
    const std::string value = i_edit.value.substr(0, i_edit.value.find_first_of("\r\n"));
    std::set<std::string, IniNameLess> sections{""};  // the lines before the first header
    bool inSection = i_edit.section.empty();
    bool found = inSection;
    size_t insertAt = 0;  // after the section's last line that is not blank
    for (size_t at = 0; at < io_text.size();) {
        const ini_line_t line = ReadIniLine(io_text, at, i_leadByte);
        at = line.next;
        if (line.begin == line.end) continue;
        if (line.header) {
            if (inSection) break;  // only the first section of a name is read
            inSection = sections.insert(line.name).second && SameIniName(line.name, i_edit.section);
            found = found || inSection;
        } else if (inSection && SameIniName(line.name, i_edit.key)) {
            // The first key of the name is the one read, with or without an '='.
            if (line.hasValue) io_text.replace(line.valueBegin, line.valueEnd - line.valueBegin, value);
            else io_text.insert(line.end, "=" + value);
            return;
        }
        if (inSection) insertAt = AfterOwnLineEnd(io_text, line);
    }
    const std::string keyLine = i_edit.key + "=" + value;
    if (found) InsertLine(io_text, insertAt, keyLine, i_lineEnd);
    else InsertLine(io_text, io_text.size(), "[" + i_edit.section + "]" + i_lineEnd + keyLine, i_lineEnd);
}

std::string Edited(std::string text, const std::vector<ini_edit_t>& i_edits, LeadByte i_leadByte)
{
    const std::string lineEnd = LineEndOf(text);
    for (const ini_edit_t& edit : i_edits) Apply(text, edit, i_leadByte, lineEnd);
    return text;
}

std::string BytesFromUtf16(const std::u16string& i_text, bool i_bigEndian)
{
    std::string bytes;
    bytes.reserve(i_text.size() * 2);
    for (char16_t c : i_text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += i_bigEndian ? high : low;
        bytes += i_bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

std::string EditIniFile(const std::string& i_bytes, const std::vector<ini_edit_t>& i_edits)
{
    size_t mark = 0;
    const IniEncoding encoding = DetectIniEncoding(i_bytes, &mark);
    const std::string head = i_bytes.substr(0, mark), body = i_bytes.substr(mark);
    switch (encoding) {
    case IniEncoding::Ansi: return Edited(body, i_edits, IsLeadByte);
    case IniEncoding::Utf8: return head + Edited(body, i_edits, nullptr);
    case IniEncoding::Utf16Le:
    case IniEncoding::Utf16Be: break;
    }
    // UTF-16 goes through UTF-8 and back exactly; an odd last byte, which the reader reads
    // as a character of its own, comes back as that whole character.
    const bool bigEndian = encoding == IniEncoding::Utf16Be;
    const std::string text = Utf8FromUtf16(Utf16FromBytes(body, bigEndian));
    const std::string edited = Edited(text, i_edits, nullptr);
    return edited == text ? i_bytes : head + BytesFromUtf16(Utf16FromUtf8(edited), bigEndian);
}
