// Set-up and teardown of the plug-in: the settings record is read from the settings
// file once at set-up and written back at teardown, key by key, only where it changed.
#include <array>
#include <cstring>
#include <string>

#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/host_events.h"
#include "plugin/shell/persistence.h"
#include "plugin/records/setting_keys.h"
#include "support/bounded_text.h"
#include "support/ini_file.h"

namespace {

// What set-up found for one key: whether the file had it, and the text a save would
// have written for the setting as set-up left it.
struct key_as_read_t {
    bool inFile = false;
    std::string text;
};

// Until the first set-up every key counts as missing, so a save writes them all.
std::array<key_as_read_t, kSettingKeyCount> g_keysAsRead;

// The module's folder: its full file name cut at the last '\', separator removed.
void ModuleDirectory(char (&o_dir)[MAX_PATH])
{
    memset(o_dir, 0, sizeof o_dir);
    GetModuleFileNameA(g_hModule, o_dir, MAX_PATH);
    o_dir[MAX_PATH - 1] = '\0';
    if (char* separator = strrchr(o_dir, '\\')) *separator = '\0';
}

// Empty bitmap paths point at the pictures shipped beside the module.
void FillDefaultBitmapPaths()
{
    if (HintSettings.BgNormal[0] != '\0' && HintSettings.BgIconic[0] != '\0') return;
    char dir[MAX_PATH];
    ModuleDirectory(dir);
    if (HintSettings.BgNormal[0] == '\0') FormatText(HintSettings.BgNormal, sizeof HintSettings.BgNormal, "%s\\bgnml.bmp", dir);
    if (HintSettings.BgIconic[0] == '\0') FormatText(HintSettings.BgIconic, sizeof HintSettings.BgIconic, "%s\\bgicn.bmp", dir);
}

void LoadSettings()
{
    IniFile ini;
    ini.Open(g_settingsPath, IniFile::ModePreload);  // a missing file leaves every default
    std::string value;
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        ReadSetting(ini, k, HintSettings);
        g_keysAsRead[i].inFile = ini.Lookup(k.section, k.key, &value) == ResultCode::Normal;
    }
    ini.Close();
    FillDefaultBitmapPaths();

    // Taken in the writer's form, after the computed paths: a value the user wrote in
    // another form that reads the same ("0x00FF00", "-1" for all four style flags, an
    // over-long name, an empty path) then counts as unchanged and keeps its line.
    for (size_t i = 0; i < kSettingKeyCount; ++i) g_keysAsRead[i].text = SettingText(kSettingKeys[i], HintSettings);
}

}  // namespace

// Only keys whose text changed since set-up, or that the file lacked, are written: a
// write may make the system rewrite the whole file (line ends, encoding) or, under a
// virtualised folder, start a shadow copy that hides later hand edits. Each key is
// written on its own, so one that cannot be written does not stop the others, and
// the record itself is never changed here.
void SavePluginSettings()
{
    IniFile ini;
    ini.Open(g_settingsPath, IniFile::ModeWrite);
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        std::string text = SettingText(k, HintSettings);
        if (g_keysAsRead[i].inFile && text == g_keysAsRead[i].text) continue;
        ini.WriteString(k.section, k.key, text.c_str());
    }
    ini.Close();
}

void SetUpPlugin()
{
    LoadSettings();
    SetToggleMenuChecked(HintSettings.Enable != 0);
    g_zlvnAPI.GetQuickOption(g_savedQuickOption);
}
