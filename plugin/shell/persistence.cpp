// Set-up and teardown of the plug-in: the settings record is read from the settings
// file once at set-up; what changed is written back when the settings dialog's OK
// confirms it and at teardown.
#include <array>
#include <bitset>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/records/event_gate.h"
#include "plugin/records/guard.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/records/setting_keys.h"
#include "plugin/shell/host_events.h"
#include "plugin/shell/persistence.h"
#include "plugin/shell/setting_doubts.h"
#include "support/bounded_text.h"
#include "support/file_bytes.h"
#include "support/ini_file.h"
#include "support/ini_writer.h"
#include "support/last_error.h"

namespace {

// What the file holds for one key, as set-up found it or the last save left it: whether
// the file has it, and the text a save would write for the setting.
struct key_as_read_t {
    bool inFile = false;
    setting_text_t text = {};
};
using keys_as_read_t = std::array<key_as_read_t, kSettingKeyCount>;

// Until the first set-up every key counts as missing, so a save writes them all.
keys_as_read_t g_keysAsRead;
// Set-up could not read the file (held, denied, out of memory): the defaults stand in until it can.
bool g_settingsUnread;
// This session's one warning about a file that could not be read has gone to the log.
bool g_unreadReported;
// Keys whose value did not read as their kind, told to the log this set-up (once each).
std::bitset<kSettingKeyCount> g_doubtsReported;

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

// One warning a session: no settings path, or a file that is there but cannot be read.
void ReportUnread(DWORD i_error)
{
    if (g_unreadReported) return;
    g_unreadReported = true;
    if (g_settingsFile.empty()) {
        g_zlvnAPI.Print(3, kPluginName, "the module's path is too long: the settings are neither read nor saved");
        return;
    }
    g_zlvnAPI.Print(3, kPluginName, "cannot read the settings file (error %lu); the defaults stand in until it can "
                    "be read, and only changed settings are saved: %s", static_cast<unsigned long>(i_error), g_settingsPath);
}

// A value that does not read as its key's kind: one line naming the key, the text and
// what stands for it. The value itself is read as ever.
void ReportDoubt(size_t i_index, const std::string& i_text, const hint_settings_t& i_read)
{
    const setting_key_t& k = kSettingKeys[i_index];
    if (g_doubtsReported[i_index]) return;
    std::string doubt = SettingDoubt(k, i_text, SettingText(k, i_read));
    if (doubt.empty()) return;
    g_doubtsReported[i_index] = true;
    g_zlvnAPI.Print(3, kPluginName, "[%s] %s=%s %s", k.section, k.key, i_text.c_str(), doubt.c_str());
}

// All or nothing: the file is read into locals, which replace the record and the notes
// only when every key is read. False when the file is there but could not be read.
bool LoadSettings()
{
    std::string bytes;
    DWORD error = 0;
    FileRead found = FileRead::Failed;
    if (!g_settingsFile.empty()) found = ReadFileBytes(LongPathForm(g_settingsFile), &bytes, &error);
    if (found == FileRead::Failed) {
        ReportUnread(error);
        return false;
    }
    hint_settings_t read = HintSettings;
    keys_as_read_t keys;
    IniFile ini;
    ini.OpenPreloaded(g_settingsPath, bytes);  // a missing file leaves every default
    std::string value;
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        ReadSetting(ini, k, read);
        keys[i].inFile = ini.Lookup(k.section, k.key, &value) == ResultCode::Normal;
        if (keys[i].inFile) ReportDoubt(i, value, read);
    }
    ini.Close();
    FillDefaultBitmapPaths(read);
    NoteTexts(read, keys);
    HintSettings = read;
    g_keysAsRead = keys;
    g_settingsUnread = false;
    return true;
}

// A file that could not be read is never written over: the defaults serve this session,
// noted as if the file held them, so that a save writes only what the user changes.
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
    return Guarded(EventEntry(PluginEvent::Setup), false, [] {
        if (!LoadSettings()) return false;
        SetToggleMenuChecked(HintSettings.Enable != 0);
        return true;
    });
}

// Writes the keys whose text differs from what the file holds, or that it lacks, in one
// whole-file write; a file nobody changed keeps its bytes. After a write that failed the
// notes stay, so that the next save tries again; the record is never changed here.
void SaveSettings()
{
    if (g_settingsFile.empty()) return;  // reported at set-up
    std::vector<ini_edit_t> edits;
    std::vector<size_t> written;
    setting_text_t text;
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        SettingText(k, HintSettings, text);
        if (g_keysAsRead[i].inFile && strcmp(text, g_keysAsRead[i].text) == 0) continue;
        edits.push_back({k.section, k.key, text});
        written.push_back(i);
    }
    if (edits.empty()) return;
    if (WriteIniFile(g_settingsFile, edits) < 0) {
        g_zlvnAPI.Print(2, kPluginName, "settings not saved: %s", LastError().Message());
        return;
    }
    for (size_t n = 0; n < written.size(); ++n) {
        g_keysAsRead[written[n]].inFile = true;
        CopyText(g_keysAsRead[written[n]].text, edits[n].value.c_str());
    }
}

}  // namespace

void SavePluginSettings()
{
    // A save that runs out of memory leaves the file as it was and the notes as they were.
    Guarded("saving the settings", [] { SaveSettings(); });
}

void SetUpPlugin()
{
    g_unreadReported = false;
    g_doubtsReported.reset();
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
