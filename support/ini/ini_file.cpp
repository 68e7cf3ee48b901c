#include "support/ini/ini_file.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "support/assert_arg.h"
#include "support/bounded_text.h"
#include "support/code_page_text.h"
#include "support/colour_text.h"
#include "support/ini/ini_encoding.h"
#include "support/last_error.h"

namespace {

// The file's bytes decoded as the profile reader decodes them, as UTF-8.
std::string FileTextAsUtf8(const std::string& i_bytes)
{
    size_t mark = 0;
    IniEncoding encoding = DetectIniEncoding(i_bytes, &mark);
    std::string body = i_bytes.substr(mark);
    switch (encoding) {
    case IniEncoding::Utf16Le:
    case IniEncoding::Utf16Be:
        return Utf8FromUtf16(Utf16FromBytes(body, encoding == IniEncoding::Utf16Be));
    case IniEncoding::Utf8:
        return Utf8FromUtf16(Utf16FromCodePage(CP_UTF8, body));
    case IniEncoding::Ansi:
        break;
    }
    return Utf8FromAnsi(body);
}

}  // namespace

ResultCode IniFile::Close()
{
    if (!IsOpen()) {
        ZLVN_RECORD_FAILURE("m_inifile is already closed.");
        return ResultCode::WrongState;
    }
    m_inifile[0] = '\0';
    m_map.clear();
    return ResultCode::Normal;
}

ResultCode IniFile::OpenPreloaded(const char* i_name, const std::string& i_bytes)
{
    ZLVN_ASSERT_ARG(i_name);
    if (IsOpen() || !m_map.empty()) {
        ZLVN_RECORD_FAILURE("m_inifile:%s is already opened.", IsOpen() ? m_inifile : i_name);
        return ResultCode::WrongState;
    }
    CopyText(m_inifile, i_name);
    Parse(i_bytes);
    return ResultCode::Normal;
}

void IniFile::Parse(const std::string& i_bytes)
{
    // Values are kept as the ANSI profile functions answer them; names stay UTF-8.
    ParseIniText(FileTextAsUtf8(i_bytes), m_map);
    for (auto& section : m_map) {
        for (auto& key : section.second) key.second = AnsiFromUtf8(key.second);
    }
}

ResultCode IniFile::Lookup(const char* i_section, const char* i_key, std::string* o_value) const
{
    const std::string* value = FindIniValue(m_map, Utf8FromAnsi(i_section), Utf8FromAnsi(i_key));
    if (value == nullptr) return ResultCode::NoExist;
    *o_value = *value;
    return ResultCode::Normal;
}

ResultCode IniFile::HexToInt(const char* i_hex, int* o_val)
{
    ZLVN_ASSERT_ARG(i_hex);
    ZLVN_ASSERT_ARG(o_val);
    // A colour text is short: its work fits on the stack, so reading one needs no memory.
    char small[64] = {};
    size_t size = ColourWorkSize(i_hex);
    char* work = size <= sizeof small ? small : static_cast<char*>(calloc(size, 1));
    if (work == nullptr) {
        // The text's length + 1, also when an odd digit count asked for one byte more.
        ZLVN_RECORD_FAILURE("Not enough memory. cannot allocate %dbytes", static_cast<int>(strlen(i_hex) + 1));
        return ResultCode::NoMemory;
    }
    *o_val = static_cast<int>(ColourTextToValue(i_hex, work));
    if (work != small) free(work);
    return ResultCode::Normal;
}

void IniFile::IntToHex(int value, char* o_hex, size_t size)
{
    ZLVN_ASSERT_ARG(o_hex);
    ColourValueToText(static_cast<uint32_t>(value), o_hex, size);
}
