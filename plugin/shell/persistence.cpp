// Set-up and teardown of the plug-in: the settings record is read from the settings
// file once at set-up; what changed is written back when the settings dialog's OK
// confirms it and at teardown.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "hint/hint_set.h"
#include "plugin/records/event_gate.h"
#include "plugin/records/globals.h"
#include "plugin/records/guard.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/records/setting_keys.h"
#include "plugin/shell/globals.h"
#include "plugin/shell/persistence.h"
#include "plugin/shell/setting_doubts.h"
#include "support/bounded_text.h"
#include "support/code_page_text.h"
#include "support/ini/file_bytes.h"
#include "support/ini/ini_file.h"
#include "support/ini/ini_writer.h"
#include "support/pumped_wait.h"

namespace {

// Teardown's save is the session's last: a program that holds the file for longer than
// the writer's own retries gets this much more time.
constexpr DWORD kTeardownRetryMs = 500;

// One empty bitmap path pointed at its picture beside the module. The record and the
// file hold ANSI text: a folder the code page cannot hold, or a path too long for the
// field, leaves it empty, and the hints find the picture by its wide name.
void FillDefaultBitmapPath(char (&io_path)[sizeof HintSettings.BgNormal], const char* i_file)
{
    std::string dir;
    if (io_path[0] != '\0' || !ExactAnsiFromWide(ModuleDirectory(g_hModule), &dir)) return;
    if (dir.size() + 1 + strlen(i_file) < sizeof io_path) FormatText(io_path, sizeof io_path, "%s\\%s", dir.c_str(), i_file);
}

// Empty bitmap paths point at the pictures shipped beside the module.
void FillDefaultBitmapPaths(hint_settings_t& s)
{
    FillDefaultBitmapPath(s.BgNormal, kDefaultNormalPicture);
    FillDefaultBitmapPath(s.BgIconic, kDefaultIconicPicture);
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
    if (g_session.unreadReported) return;
    g_session.unreadReported = true;
    if (g_settingsFile.empty()) {
        g_zlvnAPI.Print(kLogWarning, kPluginName, "the module's path is too long: the settings are neither read nor saved");
        return;
    }
    g_zlvnAPI.Print(kLogWarning, kPluginName, "cannot read the settings file (error %lu); the defaults stand in until it can "
                    "be read, and only changed settings are saved: %s", static_cast<unsigned long>(i_error), g_settingsPath);
}

// A file that a save left half done (a replace that failed half-way, a kill, a power
// loss) is taken back from the save's temporary or backup name, with one log line.
void ReportTakenBack(const std::wstring& i_taken)
{
    if (i_taken.empty()) return;
    const std::wstring suffix = i_taken.substr(i_taken.rfind(L'.'));
    g_zlvnAPI.Print(kLogWarning, kPluginName, "the last save was left half done; the settings file was taken back from %s%s",
                    g_settingsPath, std::string(suffix.begin(), suffix.end()).c_str());
}

// A value that does not read as its key's kind: one line naming the key, the text and
// what stands for it. The value itself is read as ever.
void ReportDoubt(size_t i_index, const std::string& i_text, const hint_settings_t& i_read)
{
    const setting_key_t& k = kSettingKeys[i_index];
    if (g_session.doubtsReported[i_index]) return;
    std::string doubt = SettingDoubt(k, i_text, SettingText(k, i_read));
    if (doubt.empty()) return;
    g_session.doubtsReported[i_index] = true;
    g_zlvnAPI.Print(kLogWarning, kPluginName, "[%s] %s=%s %s", k.section, k.key, i_text.c_str(), doubt.c_str());
}

// All or nothing: the file is read into locals, which replace the record and the notes
// only when every key is read. False when the file is there but could not be read.
bool LoadSettings()
{
    std::string bytes;
    DWORD error = 0;
    FileRead found = FileRead::Failed;
    if (!g_settingsFile.empty()) {
        std::wstring taken;
        found = ReadIniFile(g_settingsFile, &bytes, &error, &taken);
        ReportTakenBack(taken);
    }
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
        keys[i].inFile = ReadSetting(ini, kSettingKeys[i], read, &value);
        if (keys[i].inFile) ReportDoubt(i, value, read);
    }
    ini.Close();
    FillDefaultBitmapPaths(read);
    NoteTexts(read, keys);
    HintSettings = read;
    g_session.keysAsRead = keys;
    g_session.settingsUnread = false;
    return true;
}

// A file that could not be read is never written over: the defaults serve this session,
// noted as if the file held them, so that a save writes only what the user changes.
void UseDefaultsKeepingTheFile()
{
    HintSettings = DefaultSettings();
    FillDefaultBitmapPaths(HintSettings);
    for (key_as_read_t& key : g_session.keysAsRead) key.inFile = true;
    NoteTexts(HintSettings, g_session.keysAsRead);
    g_session.settingsUnread = true;
}

bool TryLoadSettings()
{
    return Guarded(EventEntry(PluginEvent::Setup), false, [] {
        if (!LoadSettings()) return false;
        SetToggleMenuChecked(HintSettings.Enable != 0);
        return true;
    });
}

// The keys whose text differs from what the file holds, or that it lacks, as edits,
// with their indexes in o_keys.
std::vector<ini_edit_t> ChangedKeys(std::vector<size_t>* o_keys)
{
    std::vector<ini_edit_t> edits;
    o_keys->clear();
    setting_text_t text;
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const setting_key_t& k = kSettingKeys[i];
        SettingText(k, HintSettings, text);
        const key_as_read_t& kept = g_session.keysAsRead[i];
        if (kept.inFile && strcmp(text, kept.text) == 0) continue;
        edits.push_back({k.section, k.key, text});
        o_keys->push_back(i);
    }
    return edits;
}

// Writes the changed keys in one whole-file write; a file nobody changed keeps its
// bytes. After a write that failed the notes stay, so that the next save tries again;
// the record is never changed here. i_last: teardown's save, tried once more after a
// short wait.
// The writer's waits answer the host's messages, and the host may save from there (its
// teardown): that save, the newer, writes all that this one would and more. So the
// edits are taken once the lock is held; a save overtaken by a newer one that landed
// logs nothing; and one that landed while a newer one did not goes round again with the
// newest settings, so that whichever save ends last, the file holds them.
void SaveSettings(bool i_last)
{
    if (g_settingsFile.empty()) return;  // reported at set-up
    unsigned mine = ++g_session.savesTaken;  // a save this one runs in learns that the settings moved on
    std::vector<size_t> keys;
    std::vector<ini_edit_t> edits;
    if (ChangedKeys(&keys).empty()) return;
    auto take = [&] {
        mine = ++g_session.savesTaken;
        return edits = ChangedKeys(&keys);
    };
    bool retried = false;
    for (int round = 0; round < 4; ++round) {
        StepResult save = WriteIniFile(g_settingsFile, take);
        if (save.Ok()) {
            for (size_t n = 0; n < keys.size(); ++n) {
                g_session.keysAsRead[keys[n]].inFile = true;
                CopyText(g_session.keysAsRead[keys[n]].text, edits[n].value.c_str());
            }
            if (!edits.empty()) g_session.saveLanded = mine;
            if (g_session.savesTaken == mine) return;
            continue;  // a newer save ran meanwhile and did not land
        }
        if (g_session.saveLanded > mine) return;
        if (i_last && !retried) {
            retried = true;
            WaitAnsweringSentMessages(nullptr, kTeardownRetryMs);
            continue;
        }
        g_zlvnAPI.Print(kLogFailure, kPluginName, "settings not saved: %s failed: error %lu", save.failedStep,
                        static_cast<unsigned long>(save.error));
        return;
    }
}

}  // namespace

void SavePluginSettings()
{
    // A save that runs out of memory leaves the file as it was and the notes as they were.
    Guarded("saving the settings", [] { SaveSettings(false); });
}

void SavePluginSettingsAtTeardown()
{
    Guarded("saving the settings", [] { SaveSettings(true); });
}

void SetUpPlugin()
{
    g_session.unreadReported = false;
    g_session.doubtsReported.reset();
    if (!TryLoadSettings()) {
        UseDefaultsKeepingTheFile();
        SetToggleMenuChecked(HintSettings.Enable != 0);
    }
    g_zlvnAPI.GetQuickOption(g_session.quickOption);
}

void ReadSettingsIfUnread()
{
    if (g_session.settingsUnread && TryLoadSettings()) HintSettingsChanged();
}

void KeepSettingsAsTheyAre() { g_session.settingsUnread = false; }
