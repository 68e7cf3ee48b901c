// IniFile over a file's bytes: its open and close states, what the file rules put into
// the cache and what a lookup answers.
#include "tests/common/wine_test.h"

#include "support/ini/ini_file.h"
#include "support/ini/ini_text.h"

namespace {

using SettingsFile = ClearedFailureRecord;
using Preload = ClearedFailureRecord;

// What a lookup answers, or "none" where a read yields its default.
std::string ValueOf(const IniFile& ini, const char* section, const char* key)
{
    std::string value;
    return ini.Lookup(section, key, &value) == ResultCode::Normal ? value : "none";
}

}  // namespace

TEST_F(SettingsFile, OpenWhileOpenAndCloseWhileClosedAreRefused)
{
    IniFile ini;
    ASSERT_EQ(ResultCode::Normal, ini.OpenPreloaded("first.ini", "[Form]\nPos=1\n"));
    EXPECT_EQ(ResultCode::WrongState, ini.OpenPreloaded("other.ini", "[Form]\nPos=2\n"));
    EXPECT_STREQ("m_inifile:first.ini is already opened.", LastError().RecordedMessage());
    EXPECT_EQ("1", ValueOf(ini, "Form", "Pos")) << "the first file's keys are kept";

    EXPECT_EQ(ResultCode::Normal, ini.Close());
    EXPECT_EQ("none", ValueOf(ini, "Form", "Pos")) << "closing forgets the keys";
    EXPECT_EQ(ResultCode::WrongState, ini.Close());
    EXPECT_STREQ("m_inifile is already closed.", LastError().RecordedMessage());
    EXPECT_EQ(ResultCode::Normal, ini.OpenPreloaded("other.ini", "")) << "open again after close";
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
        {"first of the same key twice", "[Form]\nPos=1\nWidth=2\nPos=3\nContents=4\n", {{"Form", {{"Pos", "1"}, {"Width", "2"}, {"Contents", "4"}}}}},
        {"keys of a repeated section header are never read", "[Form]\nPos=1\n[General]\nEnable=1\n[Form]\nPos=2\nWidth=3\n",
         {{"Form", {{"Pos", "1"}}}, {"General", {{"Enable", "1"}}}}},
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
        EXPECT_EQ(ResultCode::Normal, ini.OpenPreloaded("settings.ini", c.text)) << c.name;
        EXPECT_EQ(c.pos ? c.pos : "none", ValueOf(ini, "Form", "Pos")) << c.name;
        EXPECT_EQ(c.n ? c.n : "none", ValueOf(ini, "Form", "N")) << c.name;
    }
}

TEST_F(Preload, LookupsAnswerFromTheCache)
{
    IniFile ini;
    ASSERT_EQ(ResultCode::Normal,
              ini.OpenPreloaded("settings.ini", "[General]\nfoo\nEnable=0\n[Form]\nWidth = 7\nEmpty=\nContents=2\n"));
    const struct { const char* section; const char* key; const char* value; const char* why; } reads[] = {
        {"General", "Enable", "0", "a line without '=' above the key"}, {"Form", "Width", "7", "key with blanks around '='"},
        {"Form", "Empty", "", "an empty value is a value"}, {"form", "contents", "2", "names in any letter case"},
        {" Form ", "\tContents ", "2", "blanks around the names asked for"}, {"Form", "Missing", "none", "a missing key"},
    };
    for (const auto& r : reads) EXPECT_EQ(r.value, ValueOf(ini, r.section, r.key)) << r.why;
    EXPECT_EQ(nullptr, LastError().RecordedMessage()) << "nothing in the file is a failure";
}
