// Preload mode on real files: what the byte rules put into the cache, and what the
// reads then answer.
#include <gtest/gtest.h>

#include <string>

#include "support/ini_file.h"
#include "support/ini_text.h"
#include "support/last_error.h"
#include "tests/common/temp_dir.h"

namespace {

struct preload_case_t {
    const char* name;
    const char* text;
    IniCache cache;  // exactly what preload must hold afterwards
};

class Preload : public ::testing::Test {
protected:
    void SetUp() override { LastError::ProcessRecord().Clear(); }

    // Writes the text as the settings file and preloads it into ini.
    ResultCode Open(IniFile& ini, const std::string& text)
    {
        WriteWholeFile(path, text);
        return ini.Open(path.c_str(), IniFile::ModePreload);
    }

    TempDir dir;
    std::string path = dir.File("settings.ini");
};

}  // namespace

TEST_F(Preload, ByteRulesFillTheCache)
{
    const preload_case_t cases[] = {
        {"plain pairs", "[General]\nEnable=0\n[Form]\nPos=3\n", {{"General.Enable", "0"}, {"Form.Pos", "3"}}},
        {"comment line above a key joins its name", "[General]\n; off\nEnable=0\n", {{"General.; offEnable", "0"}}},
        {"text after ']' joins the next key", "[Form] note\nWidth=5\n", {{"Form. noteWidth", "5"}}},
        {"carried text crosses a section header", "[A]\nstray\n[General]\nEnable=0\n", {{"General.strayEnable", "0"}}},
        {"spaces around '=' belong to key and value", "[Form]\nWidth = 7\n", {{"Form.Width ", " 7"}}},
        {"lines before the first section are ignored", "Enable=0\n;c\nx\n[General]\nEnable=2\n", {{"General.Enable", "2"}}},
        {"missing final line feed drops the last pair", "[Form]\nPos=1\nWidth=2", {{"Form.Pos", "1"}}},
        {"CRLF lines", "[Form]\r\nPos=1\r\nFontName=MS UI Gothic\r\n", {{"Form.Pos", "1"}, {"Form.FontName", "MS UI Gothic"}}},
        {"only a CR right before LF is dropped", "[Form]\r\nPos=1\r\r\nA\rB=2\n", {{"Form.Pos", "1\r"}, {"Form.A\rB", "2"}}},
        {"case-sensitive keys", "[General]\nEnable=0\nenable=1\n", {{"General.Enable", "0"}, {"General.enable", "1"}}},
        {"case-sensitive sections", "[Form]\nPos=1\n[form]\nPos=2\n", {{"Form.Pos", "1"}, {"form.Pos", "2"}}},
        {"further '=' and ']' belong to the value", "[S]\nk=a=b]c\n", {{"S.k", "a=b]c"}}},
        {"'[' inside a line is text", "[S]\nk=[x]\n [y]=1\n", {{"S.k", "[x]"}, {"S. [y]", "1"}}},
        {"blank lines have no effect", "\n[S]\n\n\nk=1\n\n", {{"S.k", "1"}}},
        {"empty value and empty key", "[S]\nk=\n=v\n", {{"S.k", ""}, {"S.", "v"}}},
        {"section name spans a line feed", "[Fo\nrm]\nPos=1\n", {{"Form.Pos", "1"}}},
        {"header without ']' swallows the following lines", "[Form\nPos=1\n", {}},
        {"empty file", "", {}},
        {"Japanese value kept byte for byte", "[Form]\nFontName=\x82\x6c\x82\x72 \x96\xbe\x92\xa9\n",
         {{"Form.FontName", "\x82\x6c\x82\x72 \x96\xbe\x92\xa9"}}},
    };
    for (const auto& c : cases) {
        IniFile ini;
        EXPECT_EQ(ResultCode::Normal, Open(ini, c.text)) << c.name;
        EXPECT_EQ(c.cache, ini.Cache()) << c.name;
        EXPECT_EQ(c.cache, [&] { IniCache parsed; ParseIniText(c.text, parsed); return parsed; }()) << c.name;
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

    int value = -1;
    ini.ReadInt("General", "Enable", 1, &value);
    EXPECT_EQ(1, value) << "key hidden by the line above it";
    ini.ReadInt("Form", "Width", 99, &value);
    EXPECT_EQ(99, value) << "key with a space before '='";
    ini.ReadInt("Form", "Pos", 0, &value);
    EXPECT_EQ(-12, value) << "leading spaces, sign, digits up to the first other character";
    ini.ReadInt("Form", "Empty", 99, &value);
    EXPECT_EQ(0, value) << "empty value is 0, not the default";
    ini.ReadInt("Form", "Contents", 0, &value);
    EXPECT_EQ(2, value) << "read from the cache, not the changed file";
    ini.ReadInt("Form", "contents", 5, &value);
    EXPECT_EQ(5, value) << "case-sensitive";

    ini.ReadHex("Form", "Empty", "0xffffff", &value);
    EXPECT_EQ(0, value) << "empty colour is black, not the default";
    ini.ReadHex("Form", "Colour", "0xffffff", &value);
    EXPECT_EQ(0xff0000, value) << "0x0000ff is pure blue";
    ini.ReadHex("Form", "Missing", "0xf7f700", &value);
    EXPECT_EQ(0x00f7f7, value) << "default colour text converted";

    std::string text;
    ini.ReadString("Form", "Missing", "dflt", &text);
    EXPECT_EQ("dflt", text);
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
    EXPECT_EQ("file:\"" + missing + "\" cannot open.", LastError().GetMessage());
    int value = 0;
    ini.ReadInt("General", "Enable", 1, &value);
    EXPECT_EQ(1, value);
    ini.ReadHex("Form", "NmlBgColor", "0xffff80", &value);
    EXPECT_EQ(0x80ffff, value);
    std::string text;
    ini.ReadString("Form", "FontName", "MS UI Gothic", &text);
    EXPECT_EQ("MS UI Gothic", text);
    EXPECT_FALSE(FileExists(missing)) << "a preload never creates the file";
}

TEST_F(Preload, DuplicateKeyStopsReadingAndLeavesTheObjectClosed)
{
    struct {
        const char* name;
        const char* text;
        const char* message;
        IniCache cache;
    } cases[] = {
        {"same section", "[Form]\nPos=1\nWidth=2\nPos=3\nContents=4\n", "failed map insert(Pos,3).",
         {{"Form.Pos", "1"}, {"Form.Width", "2"}}},
        {"repeated section header", "[Form]\nPos=1\n[General]\nEnable=1\n[Form]\nPos=2\nWidth=3\n",
         "failed map insert(Pos,2).", {{"Form.Pos", "1"}, {"General.Enable", "1"}}},
    };
    for (const auto& c : cases) {
        LastError::ProcessRecord().Clear();
        IniFile ini;
        EXPECT_EQ(ResultCode::CLibraryError, Open(ini, c.text)) << c.name;
        EXPECT_STREQ(c.message, LastError().GetMessage()) << c.name;
        EXPECT_EQ(c.cache, ini.Cache()) << c.name;
        EXPECT_FALSE(ini.IsOpen()) << c.name;

        // Reads still come from what was loaded; later keys give their defaults.
        int value = 0;
        ini.ReadInt("Form", "Pos", 0, &value);
        EXPECT_EQ(1, value) << c.name;
        ini.ReadInt("Form", "Width", 42, &value);
        EXPECT_EQ(c.cache.count("Form.Width") ? 2 : 42, value) << c.name;

        EXPECT_EQ(ResultCode::WrongState, ini.Close()) << c.name;
        EXPECT_STREQ("m_inifile is already closed.", LastError().GetMessage()) << c.name;
        EXPECT_EQ(ResultCode::WrongState, ini.Open(path.c_str(), IniFile::ModePreload)) << c.name;
        EXPECT_EQ("m_inifile:" + path + " is already opened. (preloaded)", LastError().GetMessage()) << c.name;
        EXPECT_FALSE(ini.IsOpen()) << c.name;
    }
}

TEST_F(Preload, AnyModeOtherThanPlainAndWritePreloads)
{
    WriteWholeFile(path, "[Form]\nWidth = 7\n");
    for (uint8_t mode : {0, 1, 2, 3, 255}) {
        IniFile ini;
        ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), mode)) << "mode " << int(mode);
        int value = 0;
        ini.ReadInt("Form", "Width", 99, &value);
        // The cache keeps the space after the key; the system reader trims it.
        bool preloads = mode != IniFile::ModePlain && mode != IniFile::ModeWrite;
        EXPECT_EQ(preloads ? 99 : 7, value) << "mode " << int(mode);
        EXPECT_EQ(preloads, !ini.Cache().empty()) << "mode " << int(mode);
    }
}
