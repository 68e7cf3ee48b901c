// Set-up and teardown of the plug-in: the settings record is read from the settings
// file once at set-up and written back at teardown, key by key, only where it changed.
#include <array>
#include <cstring>
#include <string>

#include "plugin/records/guard.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/records/setting_keys.h"
#include "plugin/shell/host_events.h"
#include "plugin/shell/persistence.h"
#include "support/bounded_text.h"
#include "support/ini_file.h"

namespace {

// What set-up found for one key: whether the file had it, and the text a save would
// have written for the setting as set-up left it. Fixed buffers: teardown compares
// and writes without taking memory.
struct key_as_read_t {
    bool inFile = false;
    setting_text_t text = {};
};
using keys_as_read_t = std::array<key_as_read_t, kSettingKeyCount>;

// Until the first set-up every key counts as missing, so a save writes them all.
keys_as_read_t g_keysAsRead;
// Set-up could not read the file (out of memory): the defaults stand in until it can.
bool g_settingsUnread;

// The module's folder: its full file name cut at the last '\', separator removed.
void ModuleDirectory(char (&o_dir)[MAX_PATH])
{
    memset(o_dir, 0, sizeof o_dir);
    GetModuleFileNameA(g_hModule, o_dir, MAX_PATH);
    o_dir[MAX_PATH - 1] = '\0';
    if (char* separator = strrchr(o_dir, '\\')) *separator = '\0';
}

// Empty bitmap paths point at the pictures shipped beside the module.
void FillDefaultBitmapPaths(hint_settings_t& s)
{
    if (s.BgNormal[0] != '\0' && s.BgIconic[0] != '\0') return;
    char dir[MAX_PATH];
    ModuleDirectory(dir);
    if (s.BgNormal[0] == '\0') FormatText(s.BgNormal, sizeof s.BgNormal, "%s\\bgnml.bmp", dir);
    if (s.BgIconic[0] == '\0') FormatText(s.BgIconic, sizeof s.BgIconic, "%s\\bgicn.bmp", dir);
}

// Taken in the writer's form, after the computed paths: a value the user wrote in
// another form that reads the same ("0x00FF00", "-1" for all four style flags, an
// over-long name, an empty path) then counts as unchanged and keeps its line.
void NoteTexts(const hint_settings_t& s, keys_as_read_t& io_keys)
{
    for (size_t i = 0; i < kSettingKeyCount; ++i) SettingText(kSettingKeys[i], s, io_keys[i].text);
}

// All or nothing: the file is read into locals, which replace the record and the notes
// only when every key is read.
void LoadSettings()
{
    hint_settings_t read = HintSettings;
    keys_as_read_t keys;
    IniFile ini;
    ini.Open(g_settingsPath, IniFile::ModePreload);  // a missing file leaves every default
    std::string value;
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        ReadSetting(ini, k, read);
        keys[i].inFile = ini.Lookup(k.section, k.key, &value) == ResultCode::Normal;
    }
    ini.Close();
    FillDefaultBitmapPaths(read);
    NoteTexts(read, keys);
    HintSettings = read;
    g_keysAsRead = keys;
    g_settingsUnread = false;
}

// A file that could not be read (out of memory) is never written over: the defaults
// serve this session, noted as if the file held them, so that teardown writes only
// what the user changes meanwhile.
void UseDefaultsKeepingTheFile()
{
    HintSettings = DefaultSettings();
    FillDefaultBitmapPaths(HintSettings);
    for (key_as_read_t& key : g_keysAsRead) key.inFile = true;
    NoteTexts(HintSettings, g_keysAsRead);
    g_settingsUnread = true;
}

bool TryLoadSettings()
{
    return Guarded("Zlvn_OnSetup", false, [] {
        LoadSettings();
        SetToggleMenuChecked(HintSettings.Enable != 0);
        return true;
    });
}

}  // namespace

// Only keys whose text changed since set-up, or that the file lacked, are written: a
// write may make the system rewrite the whole file (line ends, encoding) or, under a
// virtualised folder, start a shadow copy that hides later hand edits. Each key is
// written on its own, so one that cannot be written does not stop the others, and
// the record itself is never changed here. Nothing here takes memory.
void SavePluginSettings()
{
    IniFile ini;
    ini.Open(g_settingsPath, IniFile::ModeWrite);
    setting_text_t text;
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        SettingText(k, HintSettings, text);
        if (g_keysAsRead[i].inFile && strcmp(text, g_keysAsRead[i].text) == 0) continue;
        ini.WriteString(k.section, k.key, text);
    }
    ini.Close();
}

void SetUpPlugin()
{
    if (!TryLoadSettings()) {
        UseDefaultsKeepingTheFile();
        SetToggleMenuChecked(HintSettings.Enable != 0);
    }
    g_zlvnAPI.GetQuickOption(g_savedQuickOption);
}

void ReadSettingsIfUnread()
{
    if (g_settingsUnread) TryLoadSettings();
}

void KeepSettingsAsTheyAre() { g_settingsUnread = false; }
