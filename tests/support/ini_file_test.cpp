// IniFile's open and close states, the key-by-key modes, and what its writes do to the file.
#include "tests/common/wine_test.h"

#include "support/ini_file.h"

namespace {

class SettingsFile : public ClearedFailureRecord {
protected:
    TempDir dir;
    std::string path = dir.File("settings.ini");
};

}  // namespace

TEST_F(SettingsFile, OpenWhileOpenAndCloseWhileClosedAreRefused)
{
    IniFile ini;
    std::string other = dir.File("other.ini");
    ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), IniFile::ModeWrite));
    EXPECT_EQ(ResultCode::WrongState, ini.Open(other.c_str(), IniFile::ModePlain));
    EXPECT_EQ("m_inifile:" + path + " is already opened.", LastError().GetMessage());
    EXPECT_EQ(path, ini.Path()) << "the first path is kept";
    EXPECT_EQ(IniFile::ModeWrite, ini.OpenMode()) << "the first mode is kept";

    EXPECT_EQ(ResultCode::Normal, ini.Close());
    EXPECT_EQ(ResultCode::WrongState, ini.Close());
    EXPECT_STREQ("m_inifile is already closed.", LastError().GetMessage());
    EXPECT_EQ(ResultCode::Normal, ini.Open(other.c_str(), IniFile::ModePlain)) << "open again after close";
    EXPECT_FALSE(FileExists(other)) << "opening to write touches no file";
}

TEST_F(SettingsFile, PathIsCutAt259Characters)
{
    std::string longPath = dir.Path() + "\\" + std::string(300, 'n') + ".ini";
    IniFile ini;
    EXPECT_EQ(ResultCode::Normal, ini.Open(longPath.c_str(), IniFile::ModeWrite));
    EXPECT_EQ(longPath.substr(0, 259), ini.Path());
}

TEST_F(SettingsFile, PlainModeAsksTheSystemReaderOnEveryCall)
{
    WriteWholeFile(path, "[Form]\r\nWidth = 7 \r\nColour=0x0000ff\r\nLong=" + std::string(300, 'L') + "\r\n");
    IniFile ini;
    ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), IniFile::ModePlain));
    int value = 0;
    ini.ReadInt("form", "WIDTH", 0, &value);
    EXPECT_EQ(7, value) << "the system reader trims and ignores case";
    ini.ReadHex("Form", "Colour", "0xffffff", &value);
    EXPECT_EQ(0xff0000, value) << "colour through the system reader";

    std::string text;
    EXPECT_EQ(ResultCode::Normal, ini.ReadString("Form", "Long", "", &text));
    EXPECT_EQ(std::string(254, 'L'), text) << "at most 254 characters arrive";
    ini.ReadString("Form", "Missing", "dflt", &text);
    EXPECT_EQ("dflt", text);

    WriteWholeFile(path, "[Form]\r\nWidth=8\r\n");
    ini.ReadInt("Form", "Width", 0, &value);
    EXPECT_EQ(8, value) << "no cache in plain mode";
}

TEST_F(SettingsFile, WritingAKeyChangesOnlyThatKey)
{
    const std::string before =
        "; settings\r\n[Other]\r\nx=1\r\n[Form]\r\nUnknown=2\r\nPos=3\r\n;tail comment\r\n[Last]\r\ny=z\r\n";
    WriteWholeFile(path, before);
    IniFile ini;
    ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), IniFile::ModeWrite));
    ini.WriteInt("Form", "Pos", 4);
    ini.WriteInt("Form", "New", 5);
    ini.Close();
    EXPECT_EQ("; settings\r\n[Other]\r\nx=1\r\n[Form]\r\nUnknown=2\r\nPos=4\r\n;tail comment\r\nNew=5\r\n[Last]\r\ny=z\r\n",
              ReadWholeFile(path));

    // Preload reads back every key written.
    IniFile reader;
    ASSERT_EQ(ResultCode::Normal, reader.Open(path.c_str(), IniFile::ModePreload));
    int value = 0;
    reader.ReadInt("Form", "Pos", 0, &value);
    EXPECT_EQ(4, value);
}
