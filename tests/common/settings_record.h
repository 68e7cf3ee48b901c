#pragma once
// Whole settings records: normalised, compared byte for byte, and shown in the settings
// file's own form (through the product's key table) when they differ.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "plugin/records/setting_keys.h"

inline bool operator==(const font_style_t& a, const font_style_t& b) { return memcmp(&a, &b, sizeof a) == 0; }
inline std::ostream& operator<<(std::ostream& out, const font_style_t& s)
{
    return out << "{" << int(s.Bold) << "," << int(s.Italic) << "," << int(s.Underline) << "," << int(s.StrikeOut) << "}";
}

// The record with the bytes after each text's NUL cleared: they are no part of a setting.
inline hint_settings_t Normalised(hint_settings_t s)
{
    for (const setting_key_t& k : kSettingKeys) {
        if (!HoldsText(k.kind)) continue;
        char* text = &SettingField<char>(s, k);
        size_t length = strnlen(text, k.size);
        memset(text + length, 0, k.size - length);
    }
    return s;
}

// "[Section]\r\nKey=value\r\n..." for every key, as a first teardown would write them.
inline std::string RecordAsFile(const hint_settings_t& s)
{
    std::string out, section;
    for (const setting_key_t& k : kSettingKeys) {
        if (section != k.section) out += "[" + (section = k.section) + "]\r\n";
        out += std::string(k.key) + "=" + SettingText(k, s) + "\r\n";
    }
    return out;
}

inline ::testing::AssertionResult SameRecord(const hint_settings_t& expected, const hint_settings_t& actual)
{
    if (memcmp(&expected, &actual, sizeof expected) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "records differ; expected\n"
                                         << RecordAsFile(expected) << "got\n" << RecordAsFile(actual);
}
