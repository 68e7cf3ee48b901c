#pragma once
// One settings file's keys, parsed once from its bytes exactly as the system's profile
// reader reads them and answered from that cache. The plug-in's saves go through
// ini_writer.h, whole-file; the colour text conversions of both live here.
#include <cstddef>
#include <string>

#include "support/ini/ini_text.h"
#include "support/result_code.h"

class IniFile {
public:
    IniFile() = default;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Parses a file's bytes already read (through its wide name, say); i_name names the
    // file in failure records. Refused with WrongState while open or still holding keys.
    ResultCode OpenPreloaded(const char* i_name, const std::string& i_bytes);
    // Forgets the file and its keys; WrongState when not open.
    ResultCode Close();

    // The cache holds names in UTF-8 and values in the ANSI code page, as
    // GetPrivateProfileStringA answers them. NoExist when a read would yield its default.
    ResultCode Lookup(const char* i_section, const char* i_key, std::string* o_value) const;

    // Colour text "0xRRGGBB" to and from 0x00BBGGRR.
    static ResultCode HexToInt(const char* i_hex, int* o_val);
    static void IntToHex(int value, char* o_hex, size_t size);

private:
    bool IsOpen() const { return m_inifile[0] != '\0'; }
    void Parse(const std::string& i_bytes);

    char m_inifile[260] = {};
    IniCache m_map;
};
