#include "plugin/records/setting_keys.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "support/bounded_text.h"
#include "support/ini/ini_file.h"
#include "support/ini/ini_text.h"

namespace {

constexpr char kGeneral[] = "General";
constexpr char kForm[] = "Form";
constexpr char kShortcutKey[] = "ShortcutKey";

#define ZLVN_FIELD(name) offsetof(hint_settings_t, name), sizeof(hint_settings_t::name)

// Section, key, kind, default as the file writes it, field.
const setting_key_t kSettingRows[] = {
    {kGeneral, "Enable", SettingKind::Number, "1", ZLVN_FIELD(Enable)},
    {kForm, "Pos", SettingKind::Position, "0", ZLVN_FIELD(Pos)},
    {kForm, "Contents", SettingKind::Number, "0", ZLVN_FIELD(Contents)},
    {kForm, "Width", SettingKind::Number, "0", ZLVN_FIELD(Width)},
    {kForm, "IsUseBmp", SettingKind::Number, "0", ZLVN_FIELD(IsUseBmp)},
    {kForm, "NmlBorderColor", SettingKind::Colour, "0xf7f700", ZLVN_FIELD(NmlBorderColor)},
    {kForm, "NmlBgColor", SettingKind::Colour, "0xffff80", ZLVN_FIELD(NmlBgColor)},
    {kForm, "MinBorderColor", SettingKind::Colour, "0xd4d4d4", ZLVN_FIELD(MinBorderColor)},
    {kForm, "MinBgColor", SettingKind::Colour, "0xffffff", ZLVN_FIELD(MinBgColor)},
    {kForm, "BgNormal", SettingKind::Text, "", ZLVN_FIELD(BgNormal)},
    {kForm, "BgIconic", SettingKind::Text, "", ZLVN_FIELD(BgIconic)},
    {kForm, "FontName", SettingKind::Text, "MS UI Gothic", ZLVN_FIELD(FontName)},
    {kForm, "FontSize", SettingKind::Number, "10", ZLVN_FIELD(FontSize)},
    {kForm, "FontStyle", SettingKind::FontStyle, "0", ZLVN_FIELD(FontStyle)},
    {kForm, "FontColor", SettingKind::Colour, "0x000000", ZLVN_FIELD(FontColor)},
    {kForm, "IsNoOver", SettingKind::Number, "1", ZLVN_FIELD(IsNoOver)},
    {kForm, "IsShowIcon", SettingKind::Number, "1", ZLVN_FIELD(IsShowIcon)},
    {kShortcutKey, "ToggleEnable", SettingKind::Shortcut, "", ZLVN_FIELD(ToggleEnable)},
};

#undef ZLVN_FIELD

}  // namespace

const setting_key_t (&kSettingKeys)[kSettingKeyCount] = kSettingRows;

void ApplySettingText(const setting_key_t& k, const char* i_text, hint_settings_t& s)
{
    int number = 0;
    switch (k.kind) {
    case SettingKind::Number:
    case SettingKind::Position: SettingField<int>(s, k) = IniTextToInt(i_text); break;
    case SettingKind::Colour:
        if (IniFile::HexToInt(i_text, &number) >= 0) SettingField<COLORREF>(s, k) = static_cast<COLORREF>(number);
        break;
    case SettingKind::Text:
    case SettingKind::Shortcut: CopyText(&SettingField<char>(s, k), k.size, i_text); break;
    case SettingKind::FontStyle: SettingField<font_style_t>(s, k) = UnpackFontStyle(IniTextToInt(i_text)); break;
    }
}

bool ReadSetting(const IniFile& ini, const setting_key_t& k, hint_settings_t& s, std::string* o_text)
{
    std::string value;
    bool inFile = ini.Lookup(k.section, k.key, &value) == ResultCode::Normal;
    ApplySettingText(k, inFile ? value.c_str() : k.defaultText, s);
    if (o_text) *o_text = std::move(value);
    return inFile;
}

hint_settings_t DefaultSettings()
{
    hint_settings_t s = {};
    for (const setting_key_t& k : kSettingKeys) ApplySettingText(k, k.defaultText, s);
    return s;
}

void SettingText(const setting_key_t& k, const hint_settings_t& s, setting_text_t& o_text)
{
    switch (k.kind) {
    case SettingKind::Number:
    case SettingKind::Position: FormatText(o_text, sizeof o_text, "%d", SettingField<int>(s, k)); return;
    case SettingKind::FontStyle: FormatText(o_text, sizeof o_text, "%d", PackFontStyle(SettingField<font_style_t>(s, k))); return;
    case SettingKind::Colour: IniFile::IntToHex(static_cast<int>(SettingField<COLORREF>(s, k)), o_text, sizeof o_text); return;
    case SettingKind::Text:
    case SettingKind::Shortcut: {
        // Cut as a bounded copy cuts it: a field that lost its NUL is still written cut.
        const char* field = &SettingField<char>(s, k);
        size_t length = strnlen(field, k.size - 1);
        memcpy(o_text, field, length);
        o_text[length] = '\0';
        return;
    }
    }
    o_text[0] = '\0';
}

std::string SettingText(const setting_key_t& k, const hint_settings_t& s)
{
    setting_text_t text;
    SettingText(k, s, text);
    return text;
}
