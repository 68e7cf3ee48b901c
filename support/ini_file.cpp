#include "support/ini_file.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "support/assert_arg.h"
#include "support/bounded_text.h"
#include "support/code_page_text.h"
#include "support/colour_text.h"
#include "support/file_bytes.h"
#include "support/ini_encoding.h"
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

IniFile::IniFile() : m_tmpbuf(nullptr), m_tmpbufsize(256), m_inifile{}, m_mode(ModePlain)
{
    m_tmpbuf = new (std::nothrow) char[m_tmpbufsize];
    if (m_tmpbuf == nullptr) ZLVN_RECORD_FAILURE("failed allocate buffer size:%d", m_tmpbufsize);
}

IniFile::~IniFile()
{
    delete[] m_tmpbuf;
    m_map.clear();
}

ResultCode IniFile::Open(const char* i_inifile, uint8_t mode)
{
    ZLVN_ASSERT_ARG(i_inifile);
    if (IsOpen()) {
        ZLVN_RECORD_FAILURE("m_inifile:%s is already opened.", m_inifile);
        return ResultCode::WrongState;
    }
    CopyText(m_inifile, i_inifile);
    m_mode = mode;
    if (!Preloads()) return ResultCode::Normal;

    ResultCode result = Preload();
    if (result < 0) m_inifile[0] = '\0';
    return result;
}

ResultCode IniFile::Close()
{
    if (!IsOpen()) {
        ZLVN_RECORD_FAILURE("m_inifile is already closed.");
        return ResultCode::WrongState;
    }
    m_inifile[0] = '\0';
    if (Preloads()) m_map.clear();
    return ResultCode::Normal;
}

ResultCode IniFile::Preload()
{
    if (!m_map.empty()) {
        ZLVN_RECORD_FAILURE("m_inifile:%s is already opened. (preloaded)", m_inifile);
        return ResultCode::WrongState;
    }
    std::string bytes;
    DWORD error = 0;
    const std::u16string name = Utf16FromCodePage(CP_ACP, m_inifile);
    const std::wstring path(reinterpret_cast<const wchar_t*>(name.data()), name.size());
    FileRead read = ReadFileBytes(LongPathForm(path), &bytes, &error);
    if (read == FileRead::Missing) {
        // A missing file is no failure: every read yields its default.
        ZLVN_RECORD_FAILURE("file:\"%s\" cannot open.", m_inifile);
        return ResultCode::Normal;
    }
    if (read == FileRead::Failed) {
        ZLVN_RECORD_FAILURE("file:\"%s\" cannot read. error %lu", m_inifile, static_cast<unsigned long>(error));
        return ResultCode::FileIoError;
    }
    Parse(bytes);
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
    m_mode = ModePreload;
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

ResultCode IniFile::ReadInt(const char* i_section, const char* i_key, int i_default, int* o_val)
{
    ZLVN_ASSERT_ARG(i_section);
    ZLVN_ASSERT_ARG(i_key);
    ZLVN_ASSERT_ARG(o_val);
    if (!Preloads()) {
        *o_val = static_cast<int>(GetPrivateProfileIntA(i_section, i_key, i_default, m_inifile));
        return ResultCode::Normal;
    }
    std::string text;
    *o_val = Lookup(i_section, i_key, &text) == ResultCode::Normal ? IniTextToInt(text) : i_default;
    return ResultCode::Normal;
}

ResultCode IniFile::ReadString(const char* i_section, const char* i_key, const char* i_default, std::string* o_val)
{
    ZLVN_ASSERT_ARG(i_section);
    ZLVN_ASSERT_ARG(i_key);
    ZLVN_ASSERT_ARG(i_default);
    ZLVN_ASSERT_ARG(o_val);
    if (Preloads()) {
        if (Lookup(i_section, i_key, o_val) != ResultCode::Normal) *o_val = i_default;
        return ResultCode::Normal;
    }
    if (m_tmpbuf == nullptr) {
        ZLVN_RECORD_FAILURE("Invalid sequence. m_tmpbuf is NULL.");
        return ResultCode::NoMemory;
    }
    GetPrivateProfileStringA(i_section, i_key, i_default, m_tmpbuf, m_tmpbufsize - 1, m_inifile);
    m_tmpbuf[m_tmpbufsize - 1] = '\0';
    *o_val = m_tmpbuf;
    return ResultCode::Normal;
}

ResultCode IniFile::ReadString(const char* i_section, const char* i_key, const char* i_default, char* o_val, size_t size)
{
    ZLVN_ASSERT_ARG(i_section);
    ZLVN_ASSERT_ARG(i_key);
    ZLVN_ASSERT_ARG(o_val);
    // i_default is asserted by the read below.
    std::string text;
    ResultCode result = ReadString(i_section, i_key, i_default, &text);
    CopyText(o_val, size, text.c_str());
    return result;
}

ResultCode IniFile::ReadHex(const char* i_section, const char* i_key, const char* i_default, int* o_val)
{
    ZLVN_ASSERT_ARG(i_section);
    ZLVN_ASSERT_ARG(i_key);
    ZLVN_ASSERT_ARG(i_default);
    ZLVN_ASSERT_ARG(o_val);
    std::string text;
    ResultCode result = ReadString(i_section, i_key, i_default, &text);
    if (result < 0) return result;
    return HexToInt(text.c_str(), o_val);
}

ResultCode IniFile::WriteInt(const char* i_section, const char* i_key, int value)
{
    ZLVN_ASSERT_ARG(i_section);
    ZLVN_ASSERT_ARG(i_key);
    if (m_tmpbuf == nullptr) {
        ZLVN_RECORD_FAILURE("Invalid sequence. m_tmpbuf is NULL.");
        return ResultCode::NoMemory;
    }
    FormatText(m_tmpbuf, m_tmpbufsize, "%d", value);
    WritePrivateProfileStringA(i_section, i_key, m_tmpbuf, m_inifile);
    return ResultCode::Normal;
}

ResultCode IniFile::WriteString(const char* i_section, const char* i_key, const char* i_val)
{
    ZLVN_ASSERT_ARG(i_section);
    ZLVN_ASSERT_ARG(i_key);
    ZLVN_ASSERT_ARG(i_val);
    WritePrivateProfileStringA(i_section, i_key, i_val, m_inifile);
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
