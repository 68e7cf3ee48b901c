// Set-up reads the settings file into HintSettings, teardown writes it back: white-box
// with the test program as the module, then through the real DLL.
#include "tests/common/wine_test.h"

#include <thread>
#include <utility>

#include "plugin/shell/globals.h"
#include "plugin/shell/persistence.h"
#include "support/ini/ini_encoding.h"
#include "support/ini/ini_file.h"
#include "hint/hint_picture.h"
#include "support/app_info.h"
#include "support/ini/file_lock.h"
#include "support/ini/ini_writer.h"
#include "tests/common/dialog_driver.h"
#include "tests/common/fault_hooks.h"
#include "tests/common/import_patch.h"
#include "tests/common/plugin_windows.h"
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

// A hand-edited file with every key and LF line ends, many of them in another form
// than the writer's that reads the same; fontName in the file's own encoding.
std::string HandEditedFile(const std::string& fontName)
{
    return "; edited by hand\n[General]\nEnable = 0\n[Form]\nPos=\"3\"\nContents= 1\nWidth=+40\nIsUseBmp=01\n"
           "NmlBorderColor=0x0000FF\nNmlBgColor=123456\nMinBorderColor=0xff0000\nMinBgColor=0x00FF00\n"
           "BgNormal=\nBgIconic=D:\\pics\\iconic.bmp\nFontName=" + fontName + "\nFontSize=12pt\nFontStyle=-1\n"
           "FontColor=0xABCDEF\nIsNoOver=0\nIsShowIcon=1\n[ShortcutKey]\nToggleEnable=Ctrl+Alt+H\n";
}

const char kMeiryo[] = "\x83\x81\x83\x43\x83\x8a\x83\x49";  // the face name in code page 932

// text with the value of the first line of key replaced.
std::string WithValue(std::string text, const std::string& key, const std::string& value)
{
    size_t at = text.find(key + "=") + key.size() + 1;
    return text.replace(at, text.find_first_of("\r\n", at) - at, value);
}

// Text of code page 932 with its line ends in this style, in this encoding.
std::string Encoded(std::string text, const std::string& lineEnd, IniEncoding encoding)
{
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += lineEnd.size()) text.replace(at, 2, lineEnd);
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(932, 0, text.data(), int(text.size()), &wide[0], int(wide.size())));
    std::u16string utf16(wide.begin(), wide.end());
    if (encoding == IniEncoding::Utf8) return "\xef\xbb\xbf" + Utf8FromUtf16(utf16);
    return encoding == IniEncoding::Ansi ? text : Utf16FileBytes(utf16, false);
}

// Every setting as a set-up would read them from these bytes, in the writer's form.
std::string SettingsIn(const std::string& bytes)
{
    IniFile ini;
    ini.OpenPreloaded("", bytes);
    hint_settings_t s = {};
    for (const setting_key_t& k : kSettingKeys) ReadSetting(ini, k, s);
    return RecordAsFile(s);
}

// The settings writer's calls to the system, through this program's import table, with
// this fault armed among them.
struct FailingCalls {
    explicit FailingCalls(fault::fault_t armed) { fault::ResetCounts(), fault::Arm(std::move(armed)); }
    fault::Hooks hooks{GetModuleHandleA(nullptr), {fault::kFileCalls}};
};

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hModule = GetModuleHandleA(nullptr);  // the bitmap paths point beside the test program
        UseSettingsPath(Wide(path));
        zlvnhost::ResetHost();
    }
    void TearDown() override
    {
        HintSettings = savedSettings;
        g_hModule = savedModule;
        UseSettingsPath(savedPath);
        SetToggleMenuChecked(true);
    }

    // Set-up into a cleared record, from the file as it is, or from a file of these bytes.
    void SetUpFrom()
    {
        memset(&HintSettings, 0, sizeof HintSettings);
        FreshSession(Life::Loaded);  // a plug-in just loaded: a set-up while set up would read nothing
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
    std::string temporary = dir.File("ZlvnHint.ini.tmp");
    // What the tests change, put back at the end.
    const hint_settings_t savedSettings = HintSettings;
    const HMODULE savedModule = g_hModule;
    const std::wstring savedPath = g_settingsFile;
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
    EXPECT_EQ(0x5a, g_session.quickOption[3]) << "quick options saved at set-up";
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

// Teardown writes a key only when its setting changed or the file lacked it; set-up never
// writes, and a file nobody changed keeps its bytes.
TEST_F(Persistence, TeardownWritesOnlyChangedOrMissingKeys)
{
    const std::string meiryoUtf8 = "\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa";
    const std::string handCp932 = HandEditedFile("\x83\x81\x83\x43\x83\x8a\x83\x49");
    // file: before set-up, empty for none; newWidth: set between set-up and teardown, 0 for
    // no change, after which the file keeps its bytes.
    const struct { const char* name; std::string file; int newWidth; } cases[] = {
        {"LF line ends, Shift-JIS", handCp932, 0},
        {"UTF-8 with mark", "\xef\xbb\xbf" + HandEditedFile(meiryoUtf8), 0},
        {"UTF-16 LE with mark", Utf16FileBytes(Utf16FromUtf8(HandEditedFile(meiryoUtf8)), false), 0},
        {"the width changed", handCp932, 120},
        {"no file", "", 0},
    };
    for (const auto& c : cases) {
        DeleteFileA(path.c_str());
        if (c.file.empty()) SetUpFrom();
        else SetUpFrom(c.file);
        if (c.newWidth) HintSettings.Width = c.newWidth;
        const hint_settings_t kept = Normalised(HintSettings);
        Zlvn_OnTeardown();
        const std::string after = c.newWidth ? WithValue(c.file, "Width", "120") : c.file.empty() ? DefaultFile(ProgramDir()) : c.file;
        EXPECT_EQ(after, ReadWholeFile(path)) << c.name;
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
        UseSettingsPath(Wide(path));
        SetUpFrom(kCustomFile);
        HintSettings.Pos = 1;  // a change that cannot reach the file
        const hint_settings_t before = HintSettings;
        UseSettingsPath(Wide(c.settingsPath));
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

// Faults while the file is read and written, and files of every form: each row ends with
// the file's bytes as expected (FontName changed where the write went through), no
// temporary file, and one log line for a fault that kept the change out. only, skip, error:
// after skip calls of only, the next fails with error (none where only is null).
TEST_F(Persistence, FaultsAndFileFormsLeaveTheExpectedBytes)
{
    enum Fault { None, HeldAtSetUp, ReadOnly };
    struct row_t { std::string name, before, after; Fault fault; const char* only; long skip; DWORD error; size_t logLines; };
    const std::string base = kCustomFile, changed = WithValue(base, "FontName", kMeiryo);
    const std::string twice = WithValue(base, "FontSize", "-3\r\nFontName=again"), cut = base.substr(0, base.find("[Shortcut"));
    std::vector<row_t> rows = {
        {"a key that stands twice", twice, WithValue(twice, "FontName", kMeiryo), None, nullptr, 0, 0, 0},
        {"a missing section", cut, WithValue(cut, "FontName", kMeiryo) + "[ShortcutKey]\r\nToggleEnable=\r\n", None, nullptr, 0, 0, 0},
        {"held without sharing at set-up, then freed", base, changed, HeldAtSetUp, nullptr, 0, 0, 1},
        {"access denied to the temporary file: in place", base, changed, None, "CreateFileW", 1, ERROR_ACCESS_DENIED, 0},
        {"read-only file", base, base, ReadOnly, nullptr, 0, 0, 1},
        {"disk full part-way through the write, teardown's second try", base, changed, None, "WriteFile", 0, ERROR_DISK_FULL, 0},
        {"a replace that fails", base, changed, None, "ReplaceFileW", 0, ERROR_UNABLE_TO_REMOVE_REPLACED, 0},
    };
    for (IniEncoding encoding : {IniEncoding::Ansi, IniEncoding::Utf8, IniEncoding::Utf16Le}) {
        for (const char* end : {"\r\n", "\n"})
            rows.push_back({"encoding " + std::to_string(int(encoding)) + (end[1] ? " CRLF" : " LF"), Encoded(base, end, encoding),
                            Encoded(changed, end, encoding), None, nullptr, 0, 0, 0});
    }
    for (const row_t& r : rows) {
        WriteWholeFile(path, r.before);
        const size_t logged = Host().log.size();
        HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, r.fault == HeldAtSetUp ? 0 : FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        SetUpFrom();
        EXPECT_EQ(r.fault == HeldAtSetUp ? 0 : 7, HintSettings.Pos) << r.name << ": the defaults only while the file is held";
        CloseHandle(held);
        Zlvn_OnInactive();  // the next event reads a file that was held
        EXPECT_EQ(7, HintSettings.Pos) << r.name << ": the file's settings";
        if (r.fault == ReadOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        CopyText(HintSettings.FontName, kMeiryo);
        {
            FailingCalls calls({fault::kFileCalls, r.skip, r.only ? 1 : 0, r.error, r.only});
            Zlvn_OnTeardown();
        }
        EXPECT_EQ(r.only ? 1 : 0, fault::Counts().failed) << r.name << ": the armed call failed";
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(r.after, ReadWholeFile(path)) << r.name;
        EXPECT_FALSE(FileExists(temporary)) << r.name << ": the temporary file is left";
        // and the one line of each set-up about Pos=7
        EXPECT_EQ(r.logLines + 1, Host().log.size() - logged) << r.name << "\n" << HostLog();
        if (r.logLines && r.only) {
            EXPECT_EQ("2 Hint settings not saved: " + std::string(r.only) + " failed: error " + std::to_string(r.error) + "\n",
                      HostLog().substr(HostLog().rfind('\n', HostLog().size() - 2) + 1)) << r.name << ": the failed step and its error";
        }
    }
}

// Kill safety: each of the writer's calls to the system fails in turn (n = 1, 2, ... until
// the save goes through), as a refusal and as another error. Before every call, where a
// kill would stop the process, and after the save, the file reads as the whole old
// settings or the whole new ones; after the save no temporary file is left, and the log
// has one line if the file kept the old ones.
TEST_F(Persistence, EveryFailingCallLeavesTheWholeOldOrNewSettings)
{
    for (DWORD error : {DWORD(ERROR_ACCESS_DENIED), DWORD(ERROR_GEN_FAILURE)}) {
        bool failed = true;
        for (long n = 1; failed && n < 100; ++n) {
            SetUpFrom(kCustomFile);
            CopyText(HintSettings.FontName, kMeiryo);
            HintSettings.Pos = 12345;
            const std::string before = SettingsIn(kCustomFile), after = RecordAsFile(HintSettings);
            const std::string name = "error " + std::to_string(error) + ", call " + std::to_string(n);
            auto now = [this] { return SettingsIn(ReadWholeFile(path)); };
            const size_t logged = Host().log.size();
            {
                FailingCalls calls({fault::kFileCalls, n - 1, 1, error, nullptr,
                                [&] { EXPECT_TRUE(now() == before || now() == after) << name << "\n" << now(); }});
                SavePluginSettings();
                failed = fault::Counts().failed > 0;
            }
            EXPECT_TRUE(now() == before || now() == after) << name << ", after the save:\n" << now();
            EXPECT_FALSE(FileExists(temporary)) << name << ": the temporary file is left";
            EXPECT_EQ(now() == before ? 1u : 0u, Host().log.size() - logged) << name << "\n" << HostLog();
            Zlvn_OnTeardown();
        }
        EXPECT_FALSE(failed) << "the save never went through";
    }
}

// OK in the settings dialog writes at once; afterwards teardown writes only what changed
// since (the toggle), not the position that a second host changed meanwhile.
TEST_F(Persistence, OkSavesAtOnceAndTeardownWritesOnlyWhatChangedSince)
{
    DeleteFileA(path.c_str());
    SetUpFrom();
    const std::string written = WithValue(DefaultFile(ProgramDir()), "Pos", "3");
    DialogScript script("position 4, OK");
    script.AtDialog("OK", "ダイアログ", [](HWND dialog) {
        PostClick(ChildWithText(dialog, "各アプリの中央(&4)"));
        PostClick(ChildWithText(dialog, "OK"));
    });
    EXPECT_TRUE(script.Run([] { HintOption(nullptr); })) << script.Report();
    EXPECT_EQ(written, ReadWholeFile(path)) << "saved at OK";
    WriteWholeFile(path, WithValue(written, "Pos", "2"));
    HintToggleEnable(nullptr);
    Zlvn_OnTeardown();
    EXPECT_EQ(WithValue(WithValue(written, "Pos", "2"), "Enable", "0"), ReadWholeFile(path));
}

// A value that does not read as its key's kind is read as ever, and set-up says once in
// the host's log what it made of it; a value that reads says nothing.
TEST_F(Persistence, AValueThatDoesNotReadAsItsKindGetsOneLogLine)
{
    const std::string defaults = DefaultFile(ProgramDir());
    const struct { const char* key; const char* value; std::string line; } rows[] = {
        {"IsShowIcon", "yes", "[Form] IsShowIcon=yes is not a number; 0 is used"},
        {"FontSize", "big", "[Form] FontSize=big is not a number; 0 is used: the font's own size"},
        {"Width", "auto", "[Form] Width=auto is not a number; 0 is used: the hint fits its text"},
        {"Pos", "x", "[Form] Pos=x is not a number; 0 is used: the window's top left"},
        {"Pos", "7", "[Form] Pos=7 is not a position from 0 to 4; 7 is kept and places the hints as 4 does"},
        {"ToggleEnable", "Ctrl+Nokey", "[ShortcutKey] ToggleEnable=Ctrl+Nokey names no key; the text is kept and "
                                       "the settings dialog shows no shortcut"},
        {"NmlBgColor", "0X00FF", "[Form] NmlBgColor=0X00FF is not a colour 0xRRGGBB; 0x00f00f is used"},
        {"Pos", "+3", ""}, {"FontSize", "-2", ""}, {"MinBgColor", "f00", ""}, {"ToggleEnable", "Shift+Ctrl+H", ""},
    };
    for (const auto& r : rows) {
        // Written twice: the first counts, and still one line.
        const std::string file = WithValue(defaults, r.key, std::string(r.value) + "\r\n" + r.key + "=" + r.value);
        zlvnhost::ResetHost();
        SetUpFrom(file);
        EXPECT_EQ(SettingsIn(file), RecordAsFile(HintSettings)) << r.key << "=" << r.value << ": read as ever";
        EXPECT_EQ(r.line.empty() ? "" : "3 Hint " + r.line + "\n", HostLog()) << r.key << "=" << r.value;
    }
}

// A module name that comes cut even in the longest buffer gives no settings path: one log
// line at set-up, and no file is read or written.
DWORD WINAPI CutName(HMODULE, LPWSTR name, DWORD size)
{
    std::fill_n(name, size, L'x');
    return size;
}

TEST_F(Persistence, AModuleNameThatComesCutWritesNoFile)
{
    {
        ImportPatch cut(GetModuleHandleA(nullptr), "KERNEL32.dll", "GetModuleFileNameW", reinterpret_cast<void*>(CutName));
        EXPECT_FALSE(FindSettingsPath(GetModuleHandleA(nullptr)) || g_settingsFile.size()) << cut.Patched();
    }
    SetUpFrom(kCustomFile);
    HintSettings.Pos = 2;
    Zlvn_OnTeardown();
    EXPECT_EQ("3 Hint the module's path is too long: the settings are neither read nor saved\n", HostLog());
    EXPECT_EQ(std::string(kCustomFile), ReadWholeFile(path)) << "the defaults were read, nothing written";
}

// The real DLL in a folder whose name has no character of the ANSI code page writes its
// settings beside itself, reads its version and finds the pictures beside itself (the
// file keeps their paths empty).
TEST_F(PluginSettings, RealDllInAFolderOutsideTheAnsiCodePageKeepsItsSettings)
{
    const std::wstring folder = Wide(dll.Dir().Path()) + L"\\\uD55C\uAE00", module = folder + L"\\ZlvnHint.dll";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) && CopyFileW(Wide(dll.Path()).c_str(), module.c_str(), FALSE));
    for (const wchar_t* picture : {L"\\bgnml.bmp", L"\\bgicn.bmp"})
        CopyFileW((Wide(ProgramDir()) + picture).c_str(), (folder + picture).c_str(), FALSE);
    HMODULE loaded = LoadLibraryW(module.c_str());
    ASSERT_NE(nullptr, loaded) << GetLastError();
    auto entry = [loaded](const char* name) { return reinterpret_cast<void*>(GetProcAddress(loaded, name)); };
    reinterpret_cast<int(__stdcall*)(void*)>(entry("Zlvn_OnSetup"))(nullptr);
    reinterpret_cast<int(__stdcall*)()>(entry("Zlvn_OnTeardown"))();
    std::string version;
    EXPECT_EQ(ResultCode::Normal, AppInfo(loaded).GetFileVersion(&version)) << LastError().Message();
    EXPECT_NE("", version);
    // The same code in this program, as if it were that module.
    const HMODULE savedModule = g_hModule;
    g_hModule = loaded;
    HintSettings = DefaultSettings();
    HintSettings.IsUseBmp = 1;
    {
        HintPictures pictures;
        pictures.Read(HintSettings);
        EXPECT_TRUE(pictures.Picture(false) && pictures.Picture(true)) << "the pictures beside the module";
    }
    g_hModule = savedModule;
    FreeLibrary(loaded);
    const std::string ini = ReadWholeFile(folder + L"\\ZlvnHint.ini");
    EXPECT_NE(std::string::npos, ini.find("BgNormal=\r\nBgIconic=\r\n")) << ini;
    for (const wchar_t* name : {L"\\ZlvnHint.dll", L"\\ZlvnHint.ini", L"\\bgnml.bmp", L"\\bgicn.bmp"}) DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

// How a replace ends on Windows, played through this program's imports: the first
// replaces fail with error (1176 as if no backup name were given: the file is gone;
// 1177: the old file under the backup name) and the moves after them are held by a
// scanner (sharing violation) so many times.
struct replace_outcome_t { DWORD error; long failures, held; };
replace_outcome_t g_outcome;
std::function<void()> g_duringSave;  // what happens at the first call held by a scanner
void DuringSave()
{
    if (g_duringSave) std::exchange(g_duringSave, nullptr)();
}
std::wstring g_settings;
decltype(&ReplaceFileW) g_replace;
decltype(&MoveFileExW) g_move;
decltype(&CreateFileW) g_createFile;

BOOL WINAPI OutcomeReplace(LPCWSTR file, LPCWSTR temporary, LPCWSTR backup, DWORD flags, void* a, void* b)
{
    if (g_outcome.failures-- <= 0) return g_replace(file, temporary, backup, flags, a, b);
    if (g_outcome.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) DeleteFileW(file);
    if (g_outcome.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) g_move(file, backup, 0);
    if (g_outcome.error == ERROR_SHARING_VIOLATION) DuringSave();
    SetLastError(g_outcome.error);
    return FALSE;
}
// Only the new bytes are held: a move from the temporary name.
BOOL WINAPI OutcomeMove(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    const std::wstring name = from;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, L".tmp") != 0 || g_outcome.held-- <= 0) return g_move(from, to, flags);
    DuringSave();
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
}

// The imports of this program with g_outcome played through them, while it lives.
struct OutcomeCalls {
    explicit OutcomeCalls(replace_outcome_t outcome)
    {
        g_outcome = outcome;
        g_replace = reinterpret_cast<decltype(g_replace)>(replace.Original());
        g_move = reinterpret_cast<decltype(g_move)>(move.Original());
    }
    ImportPatch replace{GetModuleHandleA(nullptr), "KERNEL32.dll", "ReplaceFileW", reinterpret_cast<void*>(OutcomeReplace)};
    ImportPatch move{GetModuleHandleA(nullptr), "KERNEL32.dll", "MoveFileExW", reinterpret_cast<void*>(OutcomeMove)};
};

// The file's identity: a replace gives a new one, a write in place keeps it.
ULONGLONG FileIdentity(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), 0, 7, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

// Each row: the change lands at teardown, replaced whole, or the next set-up takes it
// back from the name the save left it under; afterwards no temporary or backup file.
TEST_F(Persistence, ReplacesThatFailHalfWayOrAreHeldNeverLoseTheSettings)
{
    const long always = 1000;
    const struct { const char* name; replace_outcome_t outcome; bool landsNow; } rows[] = {
        {"1176, the move held twice", {ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1, 2}, true},
        {"1176, the move held throughout", {ERROR_UNABLE_TO_MOVE_REPLACEMENT, 1, always}, false},
        {"1177, the move held twice", {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, 2}, true},
        {"1177, the move held throughout", {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, always}, false},
        {"a scanner: sharing violation twice", {ERROR_SHARING_VIOLATION, 2, 0}, true},
        {"a scanner: access denied twice", {ERROR_ACCESS_DENIED, 2, 0}, true},
    };
    const std::string changed = WithValue(kCustomFile, "FontName", kMeiryo);
    for (const auto& r : rows) {
        SetUpFrom(kCustomFile);
        CopyText(HintSettings.FontName, kMeiryo);
        const ULONGLONG before = FileIdentity(path);
        const size_t logged = Host().log.size();
        {
            OutcomeCalls calls(r.outcome);
            Zlvn_OnTeardown();
        }
        if (r.landsNow) {
            EXPECT_EQ(changed, ReadWholeFile(path)) << r.name;
            EXPECT_NE(before, FileIdentity(path)) << r.name << ": replaced whole, not written in place";
        }
        EXPECT_EQ(r.landsNow ? 0u : 1u, Host().log.size() - logged) << r.name << "\n" << HostLog();
        SetUpFrom();
        EXPECT_STREQ(kMeiryo, HintSettings.FontName) << r.name << ": the next set-up finds the change\n" << HostLog();
        // and the set-up's one line about Pos=7
        EXPECT_EQ(r.landsNow ? 1u : 3u, Host().log.size() - logged) << r.name << ": a line for the taking back\n" << HostLog();
        for (const std::string& left : {temporary, path + ".bak"}) EXPECT_FALSE(FileExists(left)) << r.name << ": " << left;
    }
}

// A save left the new file under the temporary name (and the old one as the backup);
// at the next set-up a scanner holds the new file. It is never read as missing, never
// replaced by the older backup: the second host's change lands on it, or the third
// host takes it back.
TEST_F(Persistence, AHalfDoneSaveHeldAtSetUpIsTakenBackLaterNeverOverwritten)
{
    const std::string changed = WithValue(kCustomFile, "FontName", kMeiryo), moved = WithValue(changed, "Pos", "3");
    const struct { const char* name; long held; bool backup, landsAtTeardown; } rows[] = {
        {"held twice, with the backup", 2, true, true},
        {"held twice, without", 2, false, true},
        {"held throughout, with the backup", 1000, true, false},
        {"held throughout, without", 1000, false, false},
    };
    for (const auto& r : rows) {
        DeleteFileA(path.c_str());
        WriteWholeFile(temporary, changed);
        if (r.backup) WriteWholeFile(path + ".bak", kCustomFile);
        {
            OutcomeCalls calls({0, 0, r.held});
            SetUpFrom();
            HintSettings.Pos = 3;
            Zlvn_OnTeardown();
        }
        EXPECT_EQ(r.landsAtTeardown ? moved : "", ReadWholeFile(path)) << r.name << "\n" << HostLog();
        EXPECT_EQ(r.landsAtTeardown ? "" : changed, ReadWholeFile(temporary)) << r.name << ": kept for the next host";
        SetUpFrom();
        Zlvn_OnTeardown();
        EXPECT_EQ(r.landsAtTeardown ? moved : changed, ReadWholeFile(path)) << r.name << ": the third host\n" << HostLog();
        for (const std::string& left : {temporary, path + ".bak"}) EXPECT_FALSE(FileExists(left)) << r.name << ": " << left;
    }
}

// The host's window on this thread: a message that another thread sends to it has the
// host toggle the hints and end the session (a log-off, a restart).
LRESULT CALLBACK ExitingHost(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    HintToggleEnable(nullptr);
    Zlvn_OnTeardown();
    return 1;
}
// Sends that message from another thread; returns once it waits in this thread's queue,
// so that the next wait that answers sent messages runs it.
std::thread SendToExitingHost()
{
    static const WNDCLASSA wc = {0, ExitingHost, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "ZlvnExitingHost"};
    static HWND host = (RegisterClassA(&wc), CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    std::thread sender([] { SendMessageTimeoutA(host, WM_APP, 0, 0, SMTO_NORMAL, kWaitLimitMs, nullptr); });
    for (DWORD start = GetTickCount(); !(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && GetTickCount() - start < kWaitLimitMs;) std::this_thread::yield();
    return sender;
}

// The host ends the session while OK's save waits for a scanner: a toggle, then teardown,
// sent from another thread and answered in the wait, run at once. The dialog's value and
// the toggle land, whichever save ends last; no failure is logged; nothing stays open.
TEST_F(Persistence, ATeardownAnsweredWhileOksSaveWaitsLandsTheNewestSettings)
{
    const struct { const char* name; replace_outcome_t outcome; } rows[] = {
        {"the replace held", {ERROR_SHARING_VIOLATION, 3, 0}},
        {"1177 left the replace half done, the move held", {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, 1}},
    };
    const std::string before = DefaultFile(ProgramDir()), after = WithValue(WithValue(before, "Pos", "3"), "Enable", "0");
    for (const auto& r : rows) {
        SetUpFrom(before);
        const size_t logged = Host().log.size();
        std::thread sender;
        g_duringSave = [&sender] { sender = SendToExitingHost(); };
        DialogScript script(r.name);
        script.AtDialog("OK", "ダイアログ", [](HWND dialog) {
            PostClick(ChildWithText(dialog, "各アプリの中央(&4)"));
            PostClick(ChildWithText(dialog, "OK"));
        });
        {
            OutcomeCalls calls(r.outcome);
            EXPECT_TRUE(script.Run([] { HintOption(nullptr); })) << r.name << ": " << script.Report();
        }
        ASSERT_TRUE(sender.joinable()) << r.name << ": no call was held";
        sender.join();
        EXPECT_EQ(after, ReadWholeFile(path)) << r.name << "\n" << HostLog();
        EXPECT_EQ(logged, Host().log.size()) << r.name << ": no failure\n" << HostLog();
        EXPECT_TRUE(g_session.life == Life::TornDown && !g_okBottomDlg && !g_aboutBox && HintPopups().byClass.empty())
            << r.name << ": nothing open after teardown";
        for (const std::string& left : {temporary, path + ".bak"}) EXPECT_FALSE(FileExists(left)) << r.name << ": " << left;
    }
}

// A file linked under the temporary name is never written through: the link goes, its
// target keeps its bytes, and the save lands.
TEST_F(Persistence, AHardLinkUnderTheTemporaryNameIsNeverWrittenThrough)
{
    const std::string victim = dir.File("someone else's.txt");
    WriteWholeFile(victim, "mine");
    SetUpFrom(kCustomFile);
    ASSERT_TRUE(CreateHardLinkA(temporary.c_str(), victim.c_str(), nullptr));
    CopyText(HintSettings.FontName, kMeiryo);
    Zlvn_OnTeardown();
    EXPECT_EQ("mine", ReadWholeFile(victim));
    EXPECT_EQ(WithValue(kCustomFile, "FontName", kMeiryo), ReadWholeFile(path));
}

TEST_F(Persistence, SymbolicLinksStayLinksAndAreNeverWrittenThrough)
{
    const std::string victim = dir.File("victim.txt"), real = dir.File("real.ini");
    WriteWholeFile(victim, "mine");
    WriteWholeFile(real, kCustomFile);
    // Wine 8's CreateSymbolicLinkW answers TRUE and makes nothing.
    if (!CreateSymbolicLinkA(temporary.c_str(), victim.c_str(), 0) || !FileExists(temporary))
        GTEST_SKIP() << "this system makes no symbolic links (Wine 8)";
    ASSERT_TRUE(CreateSymbolicLinkA(path.c_str(), real.c_str(), 0));
    SetUpFrom();
    CopyText(HintSettings.FontName, kMeiryo);
    Zlvn_OnTeardown();
    EXPECT_EQ("mine", ReadWholeFile(victim)) << "the link under the temporary name";
    EXPECT_EQ(WithValue(kCustomFile, "FontName", kMeiryo), ReadWholeFile(real)) << "the settings file's target";
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) << "the settings file is still a link";
}

// Another host holds the settings file's lock while this lives.
struct LockHeldElsewhere {
    explicit LockHeldElsewhere(const std::string& path) : holder([this, name = FileLockName(Wide(path))] {
        HANDLE lock = CreateMutexW(nullptr, TRUE, name.c_str());
        SetEvent(held);
        WaitForSingleObject(release, kWaitLimitMs);
        ReleaseMutex(lock);
        CloseHandle(lock);
    }) { WaitForSingleObject(held, kWaitLimitMs); }
    ~LockHeldElsewhere() { SetEvent(release), holder.join(), CloseHandle(held), CloseHandle(release); }
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr), release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder;
};

// Another host holds the lock for longer than the wait: the save lands all the same, and
// a message sent to this thread's window meanwhile is answered.
TEST_F(Persistence, ALockHeldTooLongNeitherStallsTheThreadNorStopsTheSave)
{
    SetUpFrom(kCustomFile);
    CopyText(HintSettings.FontName, kMeiryo);
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    LRESULT answered = 0;
    {
        LockHeldElsewhere lock(path);
        std::thread sender([&] { answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimitMs, nullptr); });
        SavePluginSettings();  // this thread looks at no message before the save
        sender.join();
    }
    EXPECT_NE(0, answered) << "the message sent during the wait";
    EXPECT_EQ(WithValue(kCustomFile, "FontName", kMeiryo), ReadWholeFile(path));
    DestroyWindow(window);
}

// Set-up could not read the file; the settings dialog's command reads it first, waiting
// for the lock, and a teardown is answered there: the dialog does not open after it.
TEST_F(Persistence, NoDialogOpensAfterATeardownAnsweredInTheReadsWait)
{
    WriteWholeFile(path, kCustomFile);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetUpFrom();
    CloseHandle(file);
    bool opened = false;
    DialogScript script("no dialog");
    script.AtDialog("opened", "ダイアログ", [&opened](HWND dialog) { opened = true, PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    {
        LockHeldElsewhere lock(path);
        std::thread sender = SendToExitingHost();
        script.Run([] { HintOption(nullptr); });
        sender.join();
    }
    EXPECT_FALSE(opened);
    EXPECT_TRUE(g_session.life == Life::TornDown);
}

// The files open as Windows would have them: g_refusal(name, flags) answers an error to
// refuse with, or 0 to open as ever.
std::function<DWORD(const std::wstring&, DWORD)> g_refusal;
HANDLE WINAPI Open(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD how, DWORD flags, HANDLE t)
{
    if (DWORD refused = g_refusal(name, flags)) return SetLastError(refused), INVALID_HANDLE_VALUE;
    return g_createFile(name, access, share, sa, how, flags, t);
}
struct OpenCalls {
    explicit OpenCalls(decltype(g_refusal) refusal) { g_refusal = std::move(refusal), g_createFile = decltype(g_createFile)(open.Original()); }
    ImportPatch open{GetModuleHandleA(nullptr), "KERNEL32.dll", "CreateFileW", reinterpret_cast<void*>(Open)};
};

// A symbolic link whose target is missing (Wine 8 makes none): the name is there and
// opens as not found. It is not read as "no file", and no save replaces the link.
TEST_F(Persistence, ALinkWhoseTargetIsMissingIsNeverReplaced)
{
    WriteWholeFile(path, "the link");
    {
        OpenCalls link([this](const std::wstring& name, DWORD flags) {
            return name == Wide(path) && !(flags & FILE_FLAG_OPEN_REPARSE_POINT) ? DWORD(ERROR_FILE_NOT_FOUND) : 0;
        });
        SetUpFrom();
        HintSettings.Pos = 3;
        Zlvn_OnTeardown();
    }
    EXPECT_EQ("the link", ReadWholeFile(path)) << HostLog();
}

// Set-up reads the file under the lock that saves take, in the same hold as the taking
// back of a half-done save: no other host's save falls between.
TEST_F(Persistence, SetUpReadsUnderTheLockOfTheSaves)
{
    DeleteFileA(path.c_str());
    WriteWholeFile(temporary, kCustomFile);
    int unlocked = 0;
    {
        OpenCalls seen([&unlocked, lock = FileLockName(Wide(path))](const std::wstring&, DWORD) {
            std::thread([&] {  // another thread takes it at once only when nobody holds it
                HANDLE held = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, lock.c_str());
                if (!held || WaitForSingleObject(held, 0) == WAIT_OBJECT_0) ++unlocked, held && ReleaseMutex(held);
                if (held) CloseHandle(held);
            }).join();
            return DWORD(0);
        });
        SetUpFrom();
    }
    EXPECT_EQ(7, HintSettings.Pos) << HostLog();
    EXPECT_EQ(0, unlocked);
}

// A settings path of 256 to 259 characters, whose temporary name passes MAX_PATH: a
// name that long opens on Windows (without long paths enabled) only in the long form.
TEST_F(Persistence, SettingsPathsJustBelowMaxPathKeepTheirSaves)
{
    for (size_t length : {256u, 259u}) {
        const std::string name = dir.File(std::string(length - dir.Path().size() - 5, 'x') + ".ini");
        UseSettingsPath(Wide(name));
        OpenCalls windows([](const std::wstring& file, DWORD) {
            return file.size() >= MAX_PATH && file.compare(0, 4, L"\\\\?\\") != 0 ? DWORD(ERROR_PATH_NOT_FOUND) : 0;
        });
        SetUpFrom();
        Zlvn_OnTeardown();
        EXPECT_EQ(DefaultFile(ProgramDir()), ReadWholeFile(name)) << length << "\n" << HostLog();
    }
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
