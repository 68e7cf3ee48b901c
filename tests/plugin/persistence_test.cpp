// Set-up reads the settings file into HintSettings, teardown writes it back: white-box
// with the test program as the module, then through the real DLL.
#include "tests/common/wine_test.h"

#include "support/ini_encoding.h"
#include "tests/common/import_patch.h"
#include "tests/common/settings_record.h"

namespace {

// What the system's profile writer makes of a first teardown with every default,
// with the bitmap paths in folder dir.
std::string DefaultFile(const std::string& dir)
{
    return "[General]\r\nEnable=1\r\n"
           "[Form]\r\nPos=0\r\nContents=0\r\nWidth=0\r\nIsUseBmp=0\r\n"
           "NmlBorderColor=0xf7f700\r\nNmlBgColor=0xffff80\r\nMinBorderColor=0xd4d4d4\r\nMinBgColor=0xffffff\r\n"
           "BgNormal=" + dir + "\\bgnml.bmp\r\nBgIconic=" + dir + "\\bgicn.bmp\r\n"
           "FontName=MS UI Gothic\r\nFontSize=10\r\nFontStyle=0\r\nFontColor=0x000000\r\n"
           "IsNoOver=1\r\nIsShowIcon=1\r\n"
           "[ShortcutKey]\r\nToggleEnable=\r\n";
}

// Every key with a value other than its default, in the writer's form.
const char kCustomFile[] =
    "[General]\r\nEnable=0\r\n"
    "[Form]\r\nPos=7\r\nContents=2\r\nWidth=-40\r\nIsUseBmp=1\r\n"
    "NmlBorderColor=0x0000ff\r\nNmlBgColor=0x123456\r\nMinBorderColor=0xff0000\r\nMinBgColor=0x00ff00\r\n"
    "BgNormal=D:\\pics\\normal.bmp\r\nBgIconic=D:\\pics\\\x95\x5c.bmp\r\n"
    "FontName=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\nFontSize=-3\r\nFontStyle=6\r\nFontColor=0xabcdef\r\n"
    "IsNoOver=0\r\nIsShowIcon=5\r\n"
    "[ShortcutKey]\r\nToggleEnable=Shift+Ctrl+Alt+PgDn\r\n";

// A hand-edited file with all 18 keys and LF line ends, many of them in another form
// than the writer's that reads the same; fontName in the file's own encoding.
std::string HandEditedFile(const std::string& fontName)
{
    return "; edited by hand\n[General]\nEnable = 0\n[Form]\nPos=\"3\"\nContents= 1\nWidth=+40\nIsUseBmp=01\n"
           "NmlBorderColor=0x0000FF\nNmlBgColor=123456\nMinBorderColor=0xff0000\nMinBgColor=0x00FF00\n"
           "BgNormal=\nBgIconic=D:\\pics\\iconic.bmp\nFontName=" + fontName + "\nFontSize=12pt\nFontStyle=-1\n"
           "FontColor=0xABCDEF\nIsNoOver=0\nIsShowIcon=1\n[ShortcutKey]\nToggleEnable=Ctrl+Alt+H\n";
}

// Keys handed to the system's profile writer through the program's import table, in order.
std::string g_writtenKeys;
decltype(&WritePrivateProfileStringA) g_systemWrite;

BOOL WINAPI RecordWrite(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    g_writtenKeys += std::string(g_writtenKeys.empty() ? "" : " ") + (key ? key : "(null)");
    return g_systemWrite(section, key, value, file);
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hModule = GetModuleHandleA(nullptr);  // the bitmap paths point beside the test program
        CopyText(g_settingsPath, sizeof g_settingsPath, path.c_str());
        zlvnhost::ResetHost();
    }
    void TearDown() override
    {
        HintSettings = savedSettings;
        g_hModule = savedModule;
        CopyText(g_settingsPath, sizeof g_settingsPath, savedPath.c_str());
        SetToggleMenuChecked(true);
    }

    // Set-up into a cleared record, from the file as it is, or from a file of these bytes.
    void SetUpFrom()
    {
        memset(&HintSettings, 0, sizeof HintSettings);
        ResetLifecycle(false);  // a plug-in just loaded: a set-up while set up would read nothing
        EXPECT_EQ(0, Zlvn_OnSetup(nullptr));
    }
    void SetUpFrom(const std::string& bytes) { WriteWholeFile(path, bytes), SetUpFrom(); }

    // A fresh set-up from the file reads the record that was kept.
    void ExpectNextSetUpReads(const hint_settings_t& kept, const char* name)
    {
        SetUpFrom();
        EXPECT_TRUE(SameRecord(kept, Normalised(HintSettings))) << name << ": the next set-up reads the same\n"
                                                                << ReadWholeFile(path);
    }

    int FileInt(const char* key) { return static_cast<int>(GetPrivateProfileIntA("Form", key, -999, path.c_str())); }

    TempDir dir;
    std::string path = dir.File("ZlvnHint.ini");
    // What the tests change, put back at the end.
    const hint_settings_t savedSettings = HintSettings;
    const HMODULE savedModule = g_hModule;
    const std::string savedPath = g_settingsPath;
};

}  // namespace

TEST_F(Persistence, WithoutAFileSetUpGivesTheDefaultsAndTeardownWritesAll18Keys)
{
    Host().quickOption[3] = 0x5a;
    SetToggleMenuChecked(false);
    SetUpFrom();
    hint_settings_t defaults = DefaultSettings();  // with the bitmap paths beside the test program
    CopyText(defaults.BgNormal, (ProgramDir() + "\\bgnml.bmp").c_str());
    CopyText(defaults.BgIconic, (ProgramDir() + "\\bgicn.bmp").c_str());
    EXPECT_TRUE(SameRecord(defaults, Normalised(HintSettings)));
    EXPECT_EQ(1, g_menu[0].checked) << "check mark follows Enable";
    EXPECT_EQ(0x5a, g_savedQuickOption[3]) << "quick options saved at set-up";
    EXPECT_FALSE(FileExists(path)) << "set-up never writes";

    EXPECT_EQ(0, Zlvn_OnTeardown());
    EXPECT_EQ(DefaultFile(ProgramDir()), ReadWholeFile(path));
}

TEST_F(Persistence, CustomValuesAreReadAndWrittenBackUnchanged)
{
    SetUpFrom(kCustomFile);
    EXPECT_EQ(std::string(kCustomFile), RecordAsFile(HintSettings)) << "every key read as the file holds it";
    EXPECT_EQ(0, g_menu[0].checked) << "Enable=0 clears the check mark";
    EXPECT_EQ(7, HintSettings.Pos) << "kept as read, even outside 0-4";
    EXPECT_EQ(RGB(0, 0, 255), HintSettings.NmlBorderColor) << "0x0000ff is pure blue";
    EXPECT_EQ(-3, HintSettings.FontSize);
    EXPECT_EQ((font_style_t{0, 1, 1, 0}), HintSettings.FontStyle) << "FontStyle=6";
    EXPECT_STREQ("D:\\pics\\\x95\x5c.bmp", HintSettings.BgIconic);

    Zlvn_OnTeardown();
    EXPECT_EQ(std::string(kCustomFile), ReadWholeFile(path)) << "a file in the writer's form comes back byte for byte";
}

TEST_F(Persistence, EditedRecordComesBackFromTheNextSetUp)
{
    SetUpFrom();
    hint_settings_t& s = HintSettings;
    s.Enable = 0;
    s.Pos = 3;
    s.Width = 120;
    s.NmlBgColor = RGB(1, 2, 3);
    s.FontColor = RGB(250, 0, 5);
    CopyText(s.FontName, "Meiryo UI");
    s.FontStyle = UnpackFontStyle(9);
    CopyText(s.ToggleEnable, "Ctrl+Alt+F12");
    CopyText(s.BgIconic, "C:\\Users\\me\\icon bg.bmp");
    const hint_settings_t written = s;
    Zlvn_OnTeardown();
    EXPECT_TRUE(SameRecord(written, s)) << "teardown leaves the record as it was";
    ExpectNextSetUpReads(Normalised(written), "every field read back as written");
    EXPECT_EQ(0, g_menu[0].checked);
}

TEST_F(Persistence, FontStyleBitsAreUnpackedAndPackedBack)
{
    const struct { int file; font_style_t style; int written; } cases[] = {
        {5, {1, 0, 1, 0}, 5}, {15, {1, 1, 1, 1}, 15}, {-1, {1, 1, 1, 1}, 15}, {16, {0, 0, 0, 0}, 0}, {8, {0, 0, 0, 1}, 8},
    };
    for (const auto& c : cases) {
        SetUpFrom("[Form]\r\nFontStyle=" + std::to_string(c.file) + "\r\n");
        const font_style_t read = HintSettings.FontStyle;
        EXPECT_EQ(c.style, read) << "FontStyle=" << c.file;
        Zlvn_OnTeardown();
        EXPECT_EQ(c.file, FileInt("FontStyle")) << "FontStyle=" << c.file << ": unchanged, kept as written";

        SetUpFrom("[Form]\r\n");  // a file without the key gets the flags packed
        HintSettings.FontStyle = read;
        Zlvn_OnTeardown();
        EXPECT_EQ(c.written, FileInt("FontStyle")) << "FontStyle=" << c.file;
    }
}

TEST_F(Persistence, OverlongTextsAreCutToTheirFields)
{
    const std::string name40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn", key30(30, 'K'), path300 = "C:\\" + std::string(297, 'p');
    SetUpFrom("[Form]\r\nFontName=" + name40 + "\r\nBgNormal=" + path300 + "\r\n[ShortcutKey]\r\nToggleEnable=" + key30 + "\r\n");
    EXPECT_EQ(name40.substr(0, 31) + "|" + path300.substr(0, 259) + "|" + key30.substr(0, 23),
              std::string(HintSettings.FontName) + "|" + HintSettings.BgNormal + "|" + HintSettings.ToggleEnable);

    memset(HintSettings.ToggleEnable, 'Q', sizeof HintSettings.ToggleEnable);  // changed, and no NUL left
    Zlvn_OnTeardown();
    char text[512];
    GetPrivateProfileStringA("Form", "FontName", "", text, sizeof text, path.c_str());
    EXPECT_EQ(name40, text) << "unchanged: the file keeps the whole text";
    GetPrivateProfileStringA("ShortcutKey", "ToggleEnable", "", text, sizeof text, path.c_str());
    EXPECT_EQ(std::string(23, 'Q'), text) << "written cut";
}

TEST_F(Persistence, UnknownKeysSectionsAndCommentsAreKept)
{
    SetUpFrom("; written by hand\r\n[Other]\r\nmine=1\r\n[Form]\r\nPos=2\r\nUnknown=x\r\n[Extra]\r\n; last words\r\n");
    EXPECT_EQ(2, HintSettings.Pos);
    Zlvn_OnTeardown();
    std::string after = ReadWholeFile(path);
    for (const char* line : {"; written by hand\r\n[Other]\r\nmine=1\r\n", "[Form]\r\nPos=2\r\nUnknown=x\r\n",
                             "[Extra]\r\n; last words\r\n", "[General]\r\nEnable=1\r\n", "IsShowIcon=1\r\n",
                             "[ShortcutKey]\r\nToggleEnable=\r\n"}) {
        EXPECT_NE(std::string::npos, after.find(line)) << "missing \"" << line << "\" in\n" << after;
    }
}

// Files as people write them: set-up reads what the system's reader reads, so teardown
// never puts a default over the user's line.
TEST_F(Persistence, HandWrittenFilesKeepEveryValueThroughSetUpAndTeardown)
{
    const char meiryo[] = "\x83\x81\x83\x43\x83\x8a\x83\x49";  // the face name in code page 932
    const struct { const char* name; std::string text; const char* fontName = "Meiryo UI"; } cases[] = {
        {"blanks and tabs", "[General]\r\nEnable = 0\r\n[ Form ]\r\n \tPos\t= 2 \r\nFontName =  Meiryo UI\r\n"},
        {"other letter case", "[general]\nENABLE=0\n[form]\npos=2\nfontname=Meiryo UI\n"},
        {"no final line feed", "[General]\nEnable=0\n[Form]\nFontName=Meiryo UI\nPos=2"},
        {"CR line ends", "[General]\rEnable=0\r[Form]\rPos=2\rFontName=Meiryo UI\r"},
        {"comments inside sections", "[General]\n; hints off\nEnable=0\n[Form]\n# where\nPos=2\nnote\nFontName=Meiryo UI\n"},
        {"keys and sections twice", "[General]\nEnable=0\nEnable=1\n[Form]\nPos=2\nFontName=Meiryo UI\n[FORM]\nPos=4\n"},
        {"quotes", "[General]\nEnable=\"0\"\n[Form]\nPos='2'\nFontName=\"Meiryo UI\"\n"},
        {"UTF-8 mark", "\xef\xbb\xbf[General]\r\nEnable=0\r\n[Form]\r\nPos=2\r\nFontName=\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa\r\n",
         meiryo},
        {"UTF-16", Utf16FileBytes(u"[General]\r\nEnable=0\r\n[Form]\r\nPos=2\r\nFontName=\u30e1\u30a4\u30ea\u30aa\r\n", false),
         meiryo},
    };
    for (const auto& c : cases) {
        SetUpFrom(c.text);
        EXPECT_EQ(std::string("Enable 0 Pos 2 ") + c.fontName, "Enable " + std::to_string(HintSettings.Enable) + " Pos " +
                  std::to_string(HintSettings.Pos) + " " + HintSettings.FontName) << c.name;
        const hint_settings_t read = Normalised(HintSettings);

        Zlvn_OnTeardown();
        EXPECT_EQ(2, FileInt("Pos")) << c.name << "\n" << ReadWholeFile(path);
        ExpectNextSetUpReads(read, c.name);
    }
}

// A write may make the system rewrite the whole file, so teardown writes a key only when
// its setting changed or the file lacked it; set-up never writes.
TEST_F(Persistence, TeardownWritesOnlyChangedOrMissingKeys)
{
    ImportPatch patch(GetModuleHandleA(nullptr), "KERNEL32.dll", "WritePrivateProfileStringA",
                      reinterpret_cast<void*>(RecordWrite));
    ASSERT_TRUE(patch.Patched());
    g_systemWrite = reinterpret_cast<decltype(g_systemWrite)>(patch.Original());

    const std::string meiryoUtf8 = "\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa";
    const std::string handCp932 = HandEditedFile("\x83\x81\x83\x43\x83\x8a\x83\x49");
    // file: before set-up, empty for none; newWidth: set between set-up and teardown, 0 for
    // no change; writes: the keys written, null for every key of the table in its order.
    const struct { const char* name; std::string file; int newWidth; const char* writes; } cases[] = {
        {"LF line ends, Shift-JIS", handCp932, 0, ""},
        {"UTF-8 with mark", "\xef\xbb\xbf" + HandEditedFile(meiryoUtf8), 0, ""},
        {"UTF-16 LE with mark", Utf16FileBytes(Utf16FromUtf8(HandEditedFile(meiryoUtf8)), false), 0, ""},
        {"the width changed", handCp932, 120, "Width"},
        {"no file", "", 0, nullptr},
    };
    std::string allKeys;
    for (const setting_key_t& k : kSettingKeys) allKeys += std::string(allKeys.empty() ? "" : " ") + k.key;
    for (const auto& c : cases) {
        DeleteFileA(path.c_str());
        g_writtenKeys.clear();
        if (c.file.empty()) SetUpFrom();
        else SetUpFrom(c.file);
        if (c.newWidth) HintSettings.Width = c.newWidth;
        const hint_settings_t kept = Normalised(HintSettings);
        Zlvn_OnTeardown();
        EXPECT_EQ(c.writes ? c.writes : allKeys, g_writtenKeys) << c.name;
        if (c.writes && c.writes[0] == '\0') { EXPECT_EQ(c.file, ReadWholeFile(path)) << c.name << ": the file keeps its bytes"; }
        ExpectNextSetUpReads(kept, c.name);
    }
}

TEST_F(Persistence, BitmapPathsAreComputedOnlyWhereEmpty)
{
    SetUpFrom("[Form]\r\nBgNormal=D:\\x.bmp\r\n");
    EXPECT_EQ("D:\\x.bmp|" + ProgramDir() + "\\bgicn.bmp", std::string(HintSettings.BgNormal) + "|" + HintSettings.BgIconic)
        << "missing key";
    SetUpFrom("[Form]\r\nBgNormal=\r\nBgIconic=E:\\y.bmp\r\n");
    EXPECT_EQ(ProgramDir() + "\\bgnml.bmp|E:\\y.bmp", std::string(HintSettings.BgNormal) + "|" + HintSettings.BgIconic)
        << "empty value";
}

// A settings file that cannot be written: teardown goes through every key, does
// not crash, and leaves the record as it was.
TEST_F(Persistence, UnwritableSettingsLeaveTheRecordAlone)
{
    const std::string readOnly = dir.File("readonly.ini"), locked = dir.File("locked.ini"), folder = dir.File("folder.ini");
    WriteWholeFile(readOnly, kCustomFile);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    WriteWholeFile(locked, kCustomFile);
    // Held open without sharing, as by another program.
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    CreateDirectoryA(folder.c_str(), nullptr);
    // As root, Wine lets the read-only attribute pass; the content is checked only where it holds.
    FILE* writable = fopen(readOnly.c_str(), "r+b");
    const bool readOnlyHolds = !writable || fclose(writable) != 0;

    struct { const char* name; std::string settingsPath; bool fileExists; bool checkContent; } cases[] = {
        {"read-only file", readOnly, true, readOnlyHolds},
        {"file locked by another program", locked, true, false},
        {"missing folder", dir.File("gone\\ZlvnHint.ini"), false, false},
        {"folder in the file's place", folder, true, false},
    };
    for (const auto& c : cases) {
        // One set-up per teardown: a second teardown writes nothing.
        CopyText(g_settingsPath, sizeof g_settingsPath, path.c_str());
        SetUpFrom(kCustomFile);
        HintSettings.Pos = 1;  // a change that cannot reach the file
        const hint_settings_t before = HintSettings;
        CopyText(g_settingsPath, sizeof g_settingsPath, c.settingsPath.c_str());
        EXPECT_EQ(0, Zlvn_OnTeardown()) << c.name;
        EXPECT_TRUE(SameRecord(before, HintSettings)) << c.name;
        EXPECT_EQ(c.fileExists, FileExists(c.settingsPath)) << c.name;
        if (c.checkContent) { EXPECT_EQ(std::string(kCustomFile), ReadWholeFile(c.settingsPath)) << c.name; }
    }
    CloseHandle(lock);
    EXPECT_EQ(std::string(kCustomFile), ReadWholeFile(locked)) << "the locked file is untouched";
}

class PluginSettings : public FreshHost {
protected:
    // The real DLL set up beside a settings file of these bytes (none when null), its
    // menu block read, torn down: the file it leaves.
    std::string Session(const char* file, const std::function<void(const unsigned char*)>& checkMenu)
    {
        const std::string ini = dll.Dir().File("ZlvnHint.ini");
        if (file) WriteWholeFile(ini, file);
        if (!dll.Load()) { ADD_FAILURE() << "error " << dll.Error(); return ""; }
        EXPECT_EQ(0, dll.OnSetup());
        unsigned char menu[kMenuBlockSize];
        int count = 0;
        dll.OnSetupSubMenu(&count, menu);
        checkMenu(menu);
        EXPECT_EQ(0, dll.OnTeardown());
        return ReadWholeFile(ini);
    }
    PluginDll dll;
};

TEST_F(PluginSettings, RealDllCreatesItsSettingsBesideItself)
{
    EXPECT_EQ(DefaultFile(dll.Dir().Path()), Session(nullptr, [](const unsigned char* menu) {
        EXPECT_EQ(1, menu[1]) << "defaults: hints switched on";
    }));
}

TEST_F(PluginSettings, RealDllReadsAndKeepsAFileBesideItself)
{
    EXPECT_EQ(std::string(kCustomFile), Session(kCustomFile, [](const unsigned char* menu) {
        EXPECT_EQ(0, menu[1]) << "Enable=0 in the file";
        EXPECT_STREQ("Shift+Ctrl+Alt+PgDn", reinterpret_cast<const char*>(menu + 50)) << "shortcut from the file";
    }));
}

TEST(DefaultBitmaps, ShipBesideTheDllAs24BitPictures)
{
    for (const char* name : {"bgnml.bmp", "bgicn.bmp"}) {
        std::string file = ProgramDir() + "\\" + name;
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(nullptr, bitmap) << file;
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ("64x24x24", std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight) + "x" +
                                  std::to_string(info.bmBitsPixel)) << name << ": width x height x bits per pixel";
        DeleteObject(bitmap);
    }
}
