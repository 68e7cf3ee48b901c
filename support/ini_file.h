#pragma once
// One settings file of sections and key=value lines. Preload mode parses the whole
// file once at Open, exactly as the system's profile reader reads it, and answers
// every read from that cache; the other modes read
// and write key by key through the system's profile functions. Writes always go
// straight to the file, so keys, sections and comments the caller never writes
// stay as they were. (The plug-in's own saves go through ini_writer.h, whole-file.)
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/ini_text.h"
#include "support/result_code.h"

class IniFile {
public:
    enum Mode : uint8_t {
        ModePlain = 0,
        ModePreload = 1,  // also every value other than 0 and 2
        ModeWrite = 2,
    };

    IniFile();
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    ResultCode Open(const char* i_inifile, uint8_t mode);
    // Preload mode over a file's bytes already read (through its wide name, say); i_name
    // names it in failure records.
    ResultCode OpenPreloaded(const char* i_name, const std::string& i_bytes);
    ResultCode Close();

    // Every read yields i_default (converted like a file value) for a missing key or file.
    ResultCode ReadInt(const char* i_section, const char* i_key, int i_default, int* o_val);
    ResultCode ReadString(const char* i_section, const char* i_key, const char* i_default, std::string* o_val);
    // Cut to size - 1 characters; left empty when the read fails.
    ResultCode ReadString(const char* i_section, const char* i_key, const char* i_default, char* o_val, size_t size);
    // i_default is colour text ("0xf7f700"); o_val receives 0x00BBGGRR.
    ResultCode ReadHex(const char* i_section, const char* i_key, const char* i_default, int* o_val);

    ResultCode WriteInt(const char* i_section, const char* i_key, int value);
    ResultCode WriteString(const char* i_section, const char* i_key, const char* i_val);

    static ResultCode HexToInt(const char* i_hex, int* o_val);
    static void IntToHex(int value, char* o_hex, size_t size);

    // Inner steps of preload mode. The cache holds names in UTF-8 and values in the
    // ANSI code page, as GetPrivateProfileStringA answers them. A missing file is no
    // failure; one that exists but cannot be read (shared, denied, cut short) is.
    ResultCode Preload();
    ResultCode Lookup(const char* i_section, const char* i_key, std::string* o_value) const;

    bool IsOpen() const { return m_inifile[0] != '\0'; }
    const char* Path() const { return m_inifile; }
    uint8_t OpenMode() const { return m_mode; }
    const IniCache& Cache() const { return m_map; }

private:
    void Parse(const std::string& i_bytes);
    bool Preloads() const { return m_mode != ModePlain && m_mode != ModeWrite; }

    char* m_tmpbuf;
    int32_t m_tmpbufsize;
    char m_inifile[260];
    uint8_t m_mode;
    IniCache m_map;
};
