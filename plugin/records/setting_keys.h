#pragma once
// The settings file's keys (kSettingKeyCount), each said once: where it lives, its default,
// and which field of HintSettings it fills and how. Set-up, teardown and the dialog's Fill
// and Store are loops over this table; the dialog binds each row to a control of its own.
#include <cstddef>
#include <cstring>
#include <string>

#include "plugin/records/hint_settings.h"

class IniFile;

enum class SettingKind : unsigned char {
    Number,     // int, decimal
    Position,   // int, decimal: a place of the hint, 0 to kLastHintPosition
    Colour,     // COLORREF, colour text "0xRRGGBB"
    Text,       // char array, cut to the field
    Shortcut,   // char array, cut to the field: a key as the shortcut text names it
    FontStyle,  // font_style_t, packed into one decimal integer
};

// Whether the key's field is a char array.
constexpr bool HoldsText(SettingKind kind) { return kind == SettingKind::Text || kind == SettingKind::Shortcut; }

struct setting_key_t {
    const char* section;
    const char* key;
    SettingKind kind;
    const char* defaultText;  // as the file would hold it
    size_t offset;            // of the field in hint_settings_t
    size_t size;              // of the field
};

constexpr size_t kSettingKeyCount = 18;
// In the order in which they are read and written. A reference to the table of rows:
// it binds only when the rows are exactly kSettingKeyCount, so a count raised without
// a row (an empty key) does not compile.
extern const setting_key_t (&kSettingKeys)[kSettingKeyCount];

// The key's field in a record, as its kind holds it: an int (Number), a COLORREF (Colour),
// the first of size chars (Text), a font_style_t (FontStyle).
template <typename T>
T& SettingField(hint_settings_t& s, const setting_key_t& k)
{
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(&s) + k.offset);
}

template <typename T>
const T& SettingField(const hint_settings_t& s, const setting_key_t& k)
{
    return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&s) + k.offset);
}

// The key's field from one record into another.
inline void CopySetting(const setting_key_t& k, const hint_settings_t& i_from, hint_settings_t& o_to)
{
    memcpy(&SettingField<char>(o_to, k), &SettingField<char>(i_from, k), k.size);
}

// Converts a value as the file holds it into the key's field; a colour whose conversion
// fails leaves the field as it was.
void ApplySettingText(const setting_key_t& i_key, const char* i_text, hint_settings_t& o_settings);

// Reads the key from a preloaded file into its field: its default when the file lacks it.
// True when the file holds the key; o_text, when given, gets the text as the file holds it.
bool ReadSetting(const IniFile& ini, const setting_key_t& i_key, hint_settings_t& o_settings,
                 std::string* o_text = nullptr);

// The record a first set-up without a settings file gives (before the picture paths
// beside the module are filled in).
hint_settings_t DefaultSettings();

// The exact text a save writes for the field: teardown both compares and writes it.
// Into a fixed buffer, so that teardown needs no memory to write the file.
constexpr int kSettingTextSize = 262;  // the longest field (260) and its NUL fit
using setting_text_t = char[kSettingTextSize];
void SettingText(const setting_key_t& i_key, const hint_settings_t& i_settings, setting_text_t& o_text);
std::string SettingText(const setting_key_t& i_key, const hint_settings_t& i_settings);
