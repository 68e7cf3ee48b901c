// IniFile on real files: its open and close states, the key-by-key modes and what their
// writes do to the file; preload: what the file rules put into the cache, what reads answer.
#include "tests/common/wine_test.h"

#include "support/ini_file.h"
#include "support/ini_text.h"

namespace {

class SettingsFile : public ClearedFailureRecord {
protected:
    // Writes the text as the settings file and preloads it into ini.
    ResultCode Open(IniFile& ini, const std::string& text)
    {
        WriteWholeFile(path, text);
        return ini.Open(path.c_str(), IniFile::ModePreload);
    }

    TempDir dir;
    std::string path = dir.File("settings.ini");
};
using Preload = SettingsFile;

// What one read gives, starting from a value no case expects.
int IntOf(IniFile& ini, const char* section, const char* key, int fallback)
{
    int value = -1;
    ini.ReadInt(section, key, fallback, &value);
    return value;
}
int HexOf(IniFile& ini, const char* key, const char* fallback)
{
    int value = -1;
    ini.ReadHex("Form", key, fallback, &value);
    return value;
}
std::string TextOf(IniFile& ini, const char* key, const char* fallback)
{
    std::string text = "(unset)";
    ini.ReadString("Form", key, fallback, &text);
    return text;
}

}  // namespace

TEST_F(SettingsFile, OpenWhileOpenAndCloseWhileClosedAreRefused)
{
    IniFile ini;
    std::string other = dir.File("other.ini");
    ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), IniFile::ModeWrite));
    EXPECT_EQ(ResultCode::WrongState, ini.Open(other.c_str(), IniFile::ModePlain));
    EXPECT_EQ("m_inifile:" + path + " is already opened.", LastError().RecordedMessage());
    EXPECT_EQ(path, ini.Path()) << "the first path is kept";
    EXPECT_EQ(IniFile::ModeWrite, ini.OpenMode()) << "the first mode is kept";

    EXPECT_EQ(ResultCode::Normal, ini.Close());
    EXPECT_EQ(ResultCode::WrongState, ini.Close());
    EXPECT_STREQ("m_inifile is already closed.", LastError().RecordedMessage());
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
    EXPECT_EQ(7, IntOf(ini, "form", "WIDTH", 0)) << "the system reader trims and ignores case";
    EXPECT_EQ(0xff0000, HexOf(ini, "Colour", "0xffffff")) << "colour through the system reader";

    std::string text;
    EXPECT_EQ(ResultCode::Normal, ini.ReadString("Form", "Long", "", &text));
    EXPECT_EQ(std::string(254, 'L'), text) << "at most 254 characters arrive";
    EXPECT_EQ("dflt", TextOf(ini, "Missing", "dflt"));

    WriteWholeFile(path, "[Form]\r\nWidth=8\r\n");
    EXPECT_EQ(8, IntOf(ini, "Form", "Width", 0)) << "no cache in plain mode";
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
    EXPECT_EQ(4, IntOf(reader, "Form", "Pos", 0));
}

TEST_F(Preload, FileRulesFillTheCache)
{
    // cache: exactly what preload must hold afterwards, and what the text parses to.
    const struct { const char* name; const char* text; IniCache cache; } cases[] = {
        {"plain pairs", "[General]\nEnable=0\n[Form]\nPos=3\n", {{"General", {{"Enable", "0"}}}, {"Form", {{"Pos", "3"}}}}},
        {"comment line above a key is a line of its own", "[General]\n; off\nEnable=0\n", {{"General", {{"Enable", "0"}}}}},
        {"comment lines with '=' are keys too", "[S]\n; a = 1\n# b=2\nk=3\n", {{"S", {{"; a", "1"}, {"# b", "2"}, {"k", "3"}}}}},
        {"text after ']' is dropped", "[Form] note\nWidth=5\n", {{"Form", {{"Width", "5"}}}}},
        {"a line without '=' is a key without value", "[A]\nstray\n[General]\nEnable=0\n", {{"General", {{"Enable", "0"}}}}},
        {"blanks around names and values are dropped", "[Form]\nWidth = 7\n \t Pos\t=\v 1 \x1a\n[ General ]\nEnable =0\n",
         {{"Form", {{"Width", "7"}, {"Pos", "1"}}}, {"General", {{"Enable", "0"}}}}},
        {"lines before the first section form the nameless one", "Enable=0\n;c\nx\n[General]\nEnable=2\n",
         {{"", {{"Enable", "0"}}}, {"General", {{"Enable", "2"}}}}},
        {"missing final line feed keeps the last pair", "[Form]\nPos=1\nWidth=2", {{"Form", {{"Pos", "1"}, {"Width", "2"}}}}},
        {"CRLF lines", "[Form]\r\nPos=1\r\nFontName=MS UI Gothic\r\n", {{"Form", {{"Pos", "1"}, {"FontName", "MS UI Gothic"}}}}},
        {"any run of CR and LF ends a line", "[Form]\r\nPos=1\r\r\nA\rB=2\n\rC=3", {{"Form", {{"Pos", "1"}, {"B", "2"}, {"C", "3"}}}}},
        {"first of keys that differ in case", "[General]\nEnable=0\nenable=1\n", {{"General", {{"Enable", "0"}}}}},
        {"first of sections that differ in case", "[Form]\nPos=1\n[form]\nPos=2\nWidth=3\n", {{"Form", {{"Pos", "1"}}}}},
        {"a first key without '=' hides later ones", "[S]\nk\nk=1\nm=2\n", {{"S", {{"m", "2"}}}}},
        {"further '=' and ']' belong to the value", "[S]\nk=a=b]c\n", {{"S", {{"k", "a=b]c"}}}}},
        {"'[' inside a line is text, at its start a header", "[S]\nk=[x]\n [y]=1\n", {{"S", {{"k", "[x]"}}}}},
        {"blank lines have no effect", "\n[S]\n\n \t\n\nk=1\n\n", {{"S", {{"k", "1"}}}}},
        {"empty value and empty key", "[S]\nk=\n=v\n", {{"S", {{"k", ""}, {"", "v"}}}}},
        {"quotes around a value are dropped", "[S]\na=\"x y\"\nb='z'\nc=\"d'\nd=\"\ne=''\n",
         {{"S", {{"a", "x y"}, {"b", "z"}, {"c", "\"d'"}, {"d", "\""}, {"e", ""}}}}},
        {"section name is up to the line's last ']'", "[Fo]rm]\nPos=1\n", {{"Fo]rm", {{"Pos", "1"}}}}},
        {"header without ']' is a key line", "[Form\nPos=1\n", {{"", {{"Pos", "1"}}}}},
        {"section name spans no line feed", "[Fo\nrm]\nPos=1\n", {{"", {{"Pos", "1"}}}}},
        {"empty file", "", {}},
        {"Japanese value kept byte for byte", "[Form]\nFontName=\x82\x6c\x82\x72 \x96\xbe\x92\xa9\n",
         {{"Form", {{"FontName", "\x82\x6c\x82\x72 \x96\xbe\x92\xa9"}}}}},
    };
    for (const auto& c : cases) {
        IniFile ini;
        EXPECT_EQ(ResultCode::Normal, Open(ini, c.text)) << c.name;
        EXPECT_EQ(c.cache, ini.Cache()) << c.name;
        IniCache parsed;
        ParseIniText(c.text, parsed);
        EXPECT_EQ(c.cache, parsed) << c.name;
    }
}

// The bytes of a file decode as the system's reader decodes them; values arrive in
// the ANSI code page (932).
TEST_F(Preload, EncodingsReadAsTheSystemReaderDecodesThem)
{
    const char withNul[] = "[Form]\nPos=2\0""5\n";
    // pos, n: what Form.Pos and Form.N read, null for the default.
    const struct { const char* name; std::string text; const char* pos; const char* n; } cases[] = {
        {"UTF-8 mark before the first header", "\xef\xbb\xbf[Form]\nPos=2\nN=\xe3\x82\xa1\n", "2", "\x83\x40"},
        {"UTF-16 LE", Utf16FileBytes(u"[Form]\nPos=2\nN=\u30a1", false), "2", "\x83\x40"},
        {"UTF-16 BE", Utf16FileBytes(u"[Form]\r\nPos=2\r\nN=\u30a1\r\n", true), "2", "\x83\x40"},
        {"UTF-8 character outside code page 932", "\xef\xbb\xbf[Form]\nN=\xe2\x9c\x93\n", nullptr, "?"},
        {"ANSI trail byte ']' ends no header", "[Form]\n[\x83\x5d\nPos=2\n", "2", nullptr},
        {"ANSI lead byte swallows the line feed", "[Form]\nN=\x83\nPos=2\n", nullptr, "\x81\x45Pos=2"},
        {"a NUL cuts a value", std::string(withNul, sizeof withNul - 1), "2", nullptr},
    };
    for (const auto& c : cases) {
        IniFile ini;
        EXPECT_EQ(ResultCode::Normal, Open(ini, c.text)) << c.name;
        EXPECT_EQ(c.pos ? c.pos : "none", TextOf(ini, "Pos", "none")) << c.name;
        EXPECT_EQ(c.n ? c.n : "none", TextOf(ini, "N", "none")) << c.name;
    }
}

TEST_F(Preload, ReadsAnswerFromTheCacheOrTheDefault)
{
    IniFile ini;
    ASSERT_EQ(ResultCode::Normal,
              Open(ini, "[General]\nfoo\nEnable=0\n[Form]\nWidth = 7\nPos=  -12xy\nEmpty=\nContents=2\n"
                        "Name=0123456789012345678901234567890123456789\nColour=0x0000ff\n"));
    // The file is read once: changing it now changes nothing.
    WriteWholeFile(path, "[Form]\nContents=9\n");

    EXPECT_EQ(0, IntOf(ini, "General", "Enable", 1)) << "a line without '=' above the key";
    EXPECT_EQ(7, IntOf(ini, "Form", "Width", 99)) << "key with blanks around '='";
    EXPECT_EQ(-12, IntOf(ini, "Form", "Pos", 0)) << "leading spaces, sign, digits up to the first other character";
    EXPECT_EQ(0, IntOf(ini, "Form", "Empty", 99)) << "empty value is 0, not the default";
    EXPECT_EQ(2, IntOf(ini, "Form", "Contents", 0)) << "read from the cache, not the changed file";
    EXPECT_EQ(2, IntOf(ini, "form", "contents", 5)) << "names in any letter case";
    EXPECT_EQ(2, IntOf(ini, " Form ", "\tContents ", 5)) << "blanks around the names asked for";
    EXPECT_EQ(0, HexOf(ini, "Empty", "0xffffff")) << "empty colour is black, not the default";
    EXPECT_EQ(0xff0000, HexOf(ini, "Colour", "0xffffff")) << "0x0000ff is pure blue";
    EXPECT_EQ(0x00f7f7, HexOf(ini, "Missing", "0xf7f700")) << "default colour text converted";

    EXPECT_EQ("dflt", TextOf(ini, "Missing", "dflt"));
    char field[24];
    EXPECT_EQ(ResultCode::Normal, ini.ReadString("Form", "Name", "", field, sizeof field));
    EXPECT_STREQ("01234567890123456789012", field) << "cut at 23 characters";

    EXPECT_EQ(ResultCode::Normal, ini.Close());
    EXPECT_TRUE(ini.Cache().empty()) << "closing a preload empties the cache";
}

TEST_F(Preload, MissingFileIsNoFailureAndEveryReadGivesItsDefault)
{
    IniFile ini;
    std::string missing = dir.File("none.ini");
    EXPECT_EQ(ResultCode::Normal, ini.Open(missing.c_str(), IniFile::ModePreload));
    EXPECT_TRUE(ini.IsOpen());
    EXPECT_EQ("file:\"" + missing + "\" cannot open.", LastError().RecordedMessage());
    EXPECT_EQ(1, IntOf(ini, "General", "Enable", 1));
    EXPECT_EQ(0x80ffff, HexOf(ini, "NmlBgColor", "0xffff80"));
    EXPECT_EQ("MS UI Gothic", TextOf(ini, "FontName", "MS UI Gothic"));
    EXPECT_FALSE(FileExists(missing)) << "a preload never creates the file";
}

TEST_F(Preload, DuplicatesKeepTheFirstAndReadingGoesOn)
{
    struct { const char* name; const char* text; IniCache cache; } cases[] = {
        {"same section", "[Form]\nPos=1\nWidth=2\nPos=3\nContents=4\n", {{"Form", {{"Pos", "1"}, {"Width", "2"}, {"Contents", "4"}}}}},
        {"repeated section header", "[Form]\nPos=1\n[General]\nEnable=1\n[Form]\nPos=2\nWidth=3\n",
         {{"Form", {{"Pos", "1"}}}, {"General", {{"Enable", "1"}}}}},
    };
    for (const auto& c : cases) {
        LastError::ProcessRecord().Clear();
        IniFile ini;
        EXPECT_EQ(ResultCode::Normal, Open(ini, c.text)) << c.name;
        EXPECT_EQ(nullptr, LastError().RecordedMessage()) << c.name << ": a duplicate is no failure";
        EXPECT_EQ(c.cache, ini.Cache()) << c.name;
        EXPECT_TRUE(ini.IsOpen()) << c.name;

        // The first key counts; keys of a repeated section are never read.
        EXPECT_EQ(1, IntOf(ini, "Form", "Pos", 0)) << c.name;
        EXPECT_EQ(c.cache.at("Form").count("Width") ? 2 : 42, IntOf(ini, "Form", "Width", 42)) << c.name;

        EXPECT_EQ(ResultCode::Normal, ini.Close()) << c.name;
        EXPECT_EQ(ResultCode::Normal, ini.Open(path.c_str(), IniFile::ModePreload)) << c.name << ": opens again";
    }
}

TEST_F(Preload, AnyModeOtherThanPlainAndWritePreloads)
{
    for (uint8_t mode : {0, 1, 2, 3, 255}) {
        WriteWholeFile(path, "[Form]\nWidth = 7\n");
        IniFile ini;
        ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), mode)) << "mode " << int(mode);
        // A preload answers from what the file held at Open.
        WriteWholeFile(path, "[Form]\nWidth=8\n");
        bool preloads = mode != IniFile::ModePlain && mode != IniFile::ModeWrite;
        EXPECT_EQ(preloads ? 7 : 8, IntOf(ini, "Form", "Width", 99)) << "mode " << int(mode);
        EXPECT_EQ(preloads, !ini.Cache().empty()) << "mode " << int(mode);
    }
}
