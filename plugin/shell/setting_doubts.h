#pragma once
// Values of the settings file that do not read as their key's kind. Set-up reads them
// as it always has; the host's log is told what was made of them, so that a hand edit
// that turned the icons off or moved the hints can be traced.
#include <string>

#include "dialogs/shortcut_text.h"
#include "plugin/records/setting_keys.h"

// What set-up made of i_text for the key, whose value is now i_used in the writer's form:
// "" when the text reads as the key's kind; else why it does not and what stands. Text
// where a number or a colour belongs, a position outside 0 to kLastHintPosition, a
// shortcut whose key name is not known. Any text reads as a text.
std::string SettingDoubt(const setting_key_t& i_key, const std::string& i_text, const std::string& i_used,
                         PlatformKeyNameFn platform = PlatformKeyName);
