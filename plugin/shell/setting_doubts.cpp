#include "plugin/shell/setting_doubts.h"

#include <cctype>
#include <cstddef>

#include "hint/hint_rules.h"
#include "support/ini/ini_text.h"

namespace {

bool AllOf(const std::string& text, size_t from, int (*isClass)(int))
{
    for (size_t i = from; i < text.size(); ++i) {
        if (!isClass(static_cast<unsigned char>(text[i]))) return false;
    }
    return from < text.size();
}

// One sign and decimal digits, nothing else: all that the number reader takes whole.
bool IsDecimal(const std::string& text)
{
    size_t digits = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    return AllOf(text, digits, isdigit);
}

// Up to six hexadecimal digits after an optional "0x" (the reader's prefix is lower case).
bool IsColourText(const std::string& text)
{
    size_t digits = text.compare(0, 2, "0x") == 0 ? 2 : 0;
    return text.size() - digits <= 6 && AllOf(text, digits, isxdigit);
}

// What a number used stands for where the number alone does not say it: "" where it does
// (0 and 1 for off and on) or where the key is not here.
std::string Meaning(const setting_key_t& k, const std::string& used)
{
    static const struct { size_t field; const char* used; const char* meaning; } meanings[] = {
        {offsetof(hint_settings_t, Pos), "0", "the window's top left"},
        {offsetof(hint_settings_t, Contents), "0", "the label's first character"},
        {offsetof(hint_settings_t, Width), "0", "the hint fits its text"},
        {offsetof(hint_settings_t, FontSize), "0", "the font's own size"},
    };
    for (const auto& m : meanings) {
        if (m.field == k.offset && used == m.used) return std::string(": ") + m.meaning;
    }
    return "";
}

// "is not a number; 0 is used", with what 0 means for the key.
std::string NotANumber(const setting_key_t& k, const std::string& used)
{
    return "is not a number; " + used + " is used" + Meaning(k, used);
}

}  // namespace

std::string SettingDoubt(const setting_key_t& k, const std::string& text, const std::string& used,
                         PlatformKeyNameFn platform)
{
    switch (k.kind) {
    case SettingKind::Number:
    case SettingKind::FontStyle:
        return IsDecimal(text) ? "" : NotANumber(k, used);
    case SettingKind::Position: {
        if (!IsDecimal(text)) return NotANumber(k, used);
        int pos = IniTextToInt(text);
        if (pos >= 0 && pos <= kLastHintPosition) return "";
        return "is not a position from 0 to " + std::to_string(kLastHintPosition) + "; " + used +
               " is kept and places the hints as " + std::to_string(kLastHintPosition) + " does";
    }
    case SettingKind::Colour:
        return IsColourText(text) ? "" : "is not a colour 0xRRGGBB; " + used + " is used";
    case SettingKind::Shortcut:
        if (text.empty() || ParseShortcut(text.c_str(), platform).vk != 0) return "";
        return "names no key; the text is kept and the settings dialog shows no shortcut";
    case SettingKind::Text: return "";
    }
    return "";
}
