// Set-up and teardown of the plug-in: the settings record is read from the settings
// file once at set-up and written back, key by key, at teardown.
#include <cstring>

#include "plugin/exports.h"
#include "plugin/hint_settings.h"
#include "plugin/host_api.h"
#include "plugin/host_events.h"
#include "plugin/lifecycle.h"
#include "plugin/menu.h"
#include "plugin/module_state.h"
#include "plugin/persistence.h"
#include "support/bounded_text.h"
#include "support/ini_file.h"

namespace {

constexpr char kGeneral[] = "General";
constexpr char kForm[] = "Form";
constexpr char kShortcutKey[] = "ShortcutKey";

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

void ReadColour(IniFile& ini, const char* key, const char* defaultText, COLORREF& o_colour)
{
    int value = 0;
    if (ini.ReadHex(kForm, key, defaultText, &value) >= 0) o_colour = static_cast<COLORREF>(value);
}

void LoadSettings()
{
    hint_settings_t& s = HintSettings;
    IniFile ini;
    ini.Open(g_settingsPath, IniFile::ModePreload);  // a missing file leaves every default

    int fontStyle = 0;
    ini.ReadInt(kGeneral, "Enable", 1, &s.Enable);
    ini.ReadInt(kForm, "Pos", 0, &s.Pos);
    ini.ReadInt(kForm, "Contents", 0, &s.Contents);
    ini.ReadInt(kForm, "Width", 0, &s.Width);
    ini.ReadInt(kForm, "IsUseBmp", 0, &s.IsUseBmp);
    ReadColour(ini, "NmlBorderColor", "0xf7f700", s.NmlBorderColor);
    ReadColour(ini, "NmlBgColor", "0xffff80", s.NmlBgColor);
    ReadColour(ini, "MinBorderColor", "0xd4d4d4", s.MinBorderColor);
    ReadColour(ini, "MinBgColor", "0xffffff", s.MinBgColor);
    ini.ReadString(kForm, "BgNormal", "", s.BgNormal, sizeof s.BgNormal);
    ini.ReadString(kForm, "BgIconic", "", s.BgIconic, sizeof s.BgIconic);
    ini.ReadString(kForm, "FontName", "MS UI Gothic", s.FontName, sizeof s.FontName);
    ini.ReadInt(kForm, "FontSize", 10, &s.FontSize);
    ini.ReadInt(kForm, "FontStyle", 0, &fontStyle);
    ReadColour(ini, "FontColor", "0x000000", s.FontColor);
    ini.ReadInt(kForm, "IsNoOver", 1, &s.IsNoOver);
    ini.ReadInt(kForm, "IsShowIcon", 1, &s.IsShowIcon);
    ini.ReadString(kShortcutKey, "ToggleEnable", "", s.ToggleEnable, sizeof s.ToggleEnable);
    ini.Close();

    s.FontStyle = UnpackFontStyle(fontStyle);
    FillDefaultBitmapPaths();
}

}  // namespace

// Each key is written on its own: a key that cannot be written does not stop the
// others, and the record itself is never changed here.
void SavePluginSettings()
{
    const hint_settings_t& s = HintSettings;
    IniFile ini;
    ini.Open(g_settingsPath, IniFile::ModeWrite);

    ini.WriteInt(kGeneral, "Enable", s.Enable);
    ini.WriteInt(kForm, "Pos", s.Pos);
    ini.WriteInt(kForm, "Contents", s.Contents);
    ini.WriteInt(kForm, "Width", s.Width);
    ini.WriteInt(kForm, "IsUseBmp", s.IsUseBmp);
    ini.WriteHex(kForm, "NmlBorderColor", static_cast<int>(s.NmlBorderColor));
    ini.WriteHex(kForm, "NmlBgColor", static_cast<int>(s.NmlBgColor));
    ini.WriteHex(kForm, "MinBorderColor", static_cast<int>(s.MinBorderColor));
    ini.WriteHex(kForm, "MinBgColor", static_cast<int>(s.MinBgColor));
    // Fields are copied first: a field that lost its NUL is still written cut.
    char text[sizeof s.BgNormal];
    CopyText(text, sizeof s.BgNormal, s.BgNormal);
    ini.WriteString(kForm, "BgNormal", text);
    CopyText(text, sizeof s.BgIconic, s.BgIconic);
    ini.WriteString(kForm, "BgIconic", text);
    CopyText(text, sizeof s.FontName, s.FontName);
    ini.WriteString(kForm, "FontName", text);
    ini.WriteInt(kForm, "FontSize", s.FontSize);
    ini.WriteInt(kForm, "FontStyle", PackFontStyle(s.FontStyle));
    ini.WriteHex(kForm, "FontColor", static_cast<int>(s.FontColor));
    ini.WriteInt(kForm, "IsNoOver", s.IsNoOver);
    ini.WriteInt(kForm, "IsShowIcon", s.IsShowIcon);
    CopyText(text, sizeof s.ToggleEnable, s.ToggleEnable);
    ini.WriteString(kShortcutKey, "ToggleEnable", text);
    ini.Close();
}

void SetUpPlugin()
{
    LoadSettings();
    SetToggleMenuChecked(HintSettings.Enable != 0);
    g_zlvnAPI.GetQuickOption(g_savedQuickOption);
}

extern "C" int __stdcall Zlvn_OnSetup(void*)
{
    RaiseEvent(PluginEvent::Setup);
    return 0;
}

// Drops the hints and writes the settings; a dialog still open closes as Cancel would.
extern "C" int __stdcall Zlvn_OnTeardown()
{
    RaiseEvent(PluginEvent::Teardown);
    return 0;
}
