#include "plugin/shell/setting_doubts.h"

#include <cctype>

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

}  // namespace

std::string SettingDoubt(const setting_key_t& k, const std::string& text, const std::string& used,
                         PlatformKeyNameFn platform)
{
    switch (k.kind) {
    case SettingKind::Number:
    case SettingKind::FontStyle:
        return IsDecimal(text) ? "" : "is not a number; " + used + " is used";
    case SettingKind::Position: {
        if (!IsDecimal(text)) return "is not a number; " + used + " is used";
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
