// The dialogs' rules that need no window: shortcut text, style text, integer text, centring,
// and the font keys as the font the dialog and the hints use.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/dialog_rules.h"
#include "dialogs/shortcut_text.h"
#ifdef _WIN32
#include "plugin/records/font_binder.h"
#include "support/bounded_text.h"
#include "tests/common/settings_record.h"
#endif

namespace {

std::string FakePlatform(unsigned vk) { return vk == 0xBA ? "Semicolon" : vk == 0xC8 ? "Tab" : vk == 0xDE ? "^" : ""; }
std::string NoPlatform(unsigned) { return ""; }

// The system's key names where there is a system; natively the stand-in above.
#ifdef _WIN32
const PlatformKeyNameFn kPlatform = PlatformKeyName;
#else
const PlatformKeyNameFn kPlatform = FakePlatform;
#endif

constexpr unsigned kVkTab = 0x09, kVkNext = 0x22, kVkNumpad0 = 0x60, kVkNumpad5 = 0x65, kVkF12 = 0x7B;

TEST(ShortcutText, KeyNameTable)
{
    const struct { unsigned vk; const char* name; } cases[] = {
        {8, "BkSp"}, {9, "Tab"}, {13, "Enter"}, {27, "Esc"}, {32, "Space"}, {33, "PgUp"}, {34, "PgDn"},
        {35, "End"}, {36, "Home"}, {37, "Left"}, {38, "Up"}, {39, "Right"}, {40, "Down"}, {45, "Ins"},
        {46, "Del"}, {'0', "0"}, {'9', "9"}, {'A', "A"}, {'Z', "Z"}, {96, "0"}, {101, "5"}, {105, "9"},
        {112, "F1"}, {123, "F12"}, {135, "F24"}, {0xBA, "Semicolon"}, {0xBB, ""}, {10, ""}, {136, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.name, KeyName(c.vk, FakePlatform)) << "vk " << c.vk;
}

TEST(ShortcutText, FormatPutsPrefixesInFixedOrderAndDropsNamelessKeys)
{
    EXPECT_EQ("Shift+Ctrl+Alt+H", FormatShortcut({'H', kModAlt | kModShift | kModCtrl}, NoPlatform));
    EXPECT_EQ("Shift+Alt+H", FormatShortcut({'H', kModAlt | kModShift}, NoPlatform));
    EXPECT_EQ("Ctrl+5", FormatShortcut({kVkNumpad5, kModCtrl}, NoPlatform)) << "keypad 5 named as the digit";
    EXPECT_EQ("F24", FormatShortcut({135, 0}, NoPlatform));
    EXPECT_EQ("", FormatShortcut({0xBB, kModCtrl}, NoPlatform)) << "a key without a name gives no text";
    EXPECT_EQ("", FormatShortcut({0, kModCtrl}, NoPlatform)) << "no key";
}

TEST(ShortcutText, ParseAcceptsPrefixesInAnyCaseOrderAndRepeat)
{
    const struct { const char* text; unsigned vk; unsigned mods; } cases[] = {
        {"alt+h", 'H', kModAlt}, {"^H", 'H', kModCtrl}, {"Ctrl+^h", 'H', kModCtrl}, {"Alt+Alt+pgdn", kVkNext, kModAlt},
        {"ALT+shift+CTRL+f12", kVkF12, kModAlt | kModShift | kModCtrl}, {"semicolon", 0xBA, 0},
        {"Ctrl+5", '5', kModCtrl},  // the main-keyboard 5, never the keypad's
        {"Tab", kVkTab, 0},         // a platform name equal to a fixed one: the lower code wins
        {"Alt+", 0, 0}, {"", 0, 0}, {"Ctrl+Nokey", 0, 0}, {"Alt+H ", 0, 0},
        {"Shift+Ctrl+Alt+KP_Mult", 0, 0},  // a key name cut short matches nothing
        // A key named like a prefix: the caret key of Japanese keyboards; prefixes read greedily first.
        {"Ctrl+^", 0xDE, kModCtrl}, {"^^", 0xDE, kModCtrl}, {"^", 0xDE, 0}, {"Alt+^x", 'X', kModAlt | kModCtrl},
    };
    for (const auto& c : cases) {
        shortcut_t s = ParseShortcut(c.text, FakePlatform);
        EXPECT_EQ(c.vk, s.vk) << "'" << c.text << "'";
        if (c.vk) { EXPECT_EQ(c.mods, s.mods) << "'" << c.text << "'"; }
    }
    EXPECT_EQ(0, ParseShortcut(nullptr, FakePlatform).vk);
}

TEST(ShortcutText, EveryNamedKeyReadsBackAsItself)
{
    for (unsigned vk = 8; vk <= 255; ++vk) {
        std::string text = FormatShortcut({static_cast<unsigned char>(vk), kModShift | kModAlt}, kPlatform);
        if (text.empty()) continue;
        shortcut_t back = ParseShortcut(text.c_str(), kPlatform);
        unsigned expected = (vk >= kVkNumpad0 && vk <= kVkNumpad0 + 9) ? '0' + vk - kVkNumpad0 : vk;
        // A platform name may repeat one of a lower code (two keys sharing a scan code).
        if (back.vk != expected) {
            EXPECT_EQ(KeyName(expected, kPlatform), KeyName(back.vk, kPlatform)) << text << " vk " << vk;
        }
        EXPECT_EQ(kModShift | kModAlt, back.mods) << text;
    }
}

TEST(DialogRules, StyleTextShowsOnlyBoldAndItalic)
{
    // Code page 932 bytes, whatever the compiler's execution character set.
    EXPECT_STREQ("\x95\x57\x8F\x80", StyleText(false, false));         // 標準
    EXPECT_STREQ("\x91\xBE\x8E\x9A", StyleText(true, false));          // 太字
    EXPECT_STREQ("\x8E\xCE\x91\xCC", StyleText(false, true));          // 斜体
    EXPECT_STREQ("\x91\xBE\x8E\x9A \x8E\xCE\x91\xCC", StyleText(true, true));  // 太字 斜体
}

TEST(DialogRules, IntegerText)
{
    const struct { const char* text; bool ok; int value; } cases[] = {
        {"120", true, 120}, {"-5", true, -5}, {"0", true, 0}, {"  42", true, 42}, {"+7", true, 7},
        {"$1F", true, 31}, {"0x10", true, 16}, {"0X1f", true, 31}, {"-$10", true, -16},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1}, {"$7FFFFFFF", true, 0x7FFFFFFF},
        {"2147483648", false, 0}, {"$80000000", false, 0}, {"99999999999999999999", false, 0},
        {"", false, 0}, {"abc", false, 0}, {"12 ", false, 0}, {"1.5", false, 0}, {"$", false, 0},
        {"0x", false, 0}, {"-", false, 0}, {"1a", false, 0}, {"$G", false, 0},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(c.ok, TextToInt(c.text, &value)) << "'" << c.text << "'";
        EXPECT_EQ(c.ok ? c.value : 12345, value) << "'" << c.text << "': a refusal leaves the output alone";
    }
}

TEST(DialogRules, CentringDropsRemainders)
{
    const struct { pixel_rect_t monitor; int x, y; } cases[] = {
        {{0, 0, 1920, 1080}, 845, 451}, {{-1280, 0, 0, 1024}, -755, 423} /* left of the primary one */, {{0, 0, 1280, 800}, 525, 311},
    };
    for (const auto& c : cases) {
        pixel_point_t p = CentreOn(c.monitor, 231, 178);
        EXPECT_EQ(c.x, p.x) << c.monitor.left;
        EXPECT_EQ(c.y, p.y) << c.monitor.left;
    }
}

TEST(DialogRules, AccessibleNameDropsTheAccelerator)
{
    const struct { const wchar_t *prefix, *caption, *name; } cases[] = {{L"", L"幅(&W)", L"幅"}, {L"", L"&Save", L"Save"},
        {L"", L"A && B", L"A & B"}, {L"", L"end&", L"end"}, {L"フォント", L"11", L"フォント 11"}, {L"フォント", L"", L"フォント"}};
    for (const auto& c : cases) EXPECT_TRUE(AccessibleName(c.prefix, c.caption) == c.name) << "case " << &c - cases;
}

TEST(DialogRules, PageKeysRoundThePages)
{
    using K = page_key_t;
    const struct { int current, count; K key; bool ctrl, shift, alt; int page; } cases[] = {{0, 3, K::Tab, true, false, false, 1},
        {0, 3, K::Tab, true, true, false, 2}, {2, 3, K::PageDown, true, false, false, 0}, {0, 3, K::PageUp, true, false, false, 2},
        {0, 2, K::Tab, false, false, false, -1}, {0, 2, K::Tab, true, false, true, -1} /* AltGr */, {0, 2, K::Other, true, false, false, -1},
        {0, 1, K::Tab, true, false, false, -1}};
    for (const auto& c : cases) EXPECT_EQ(c.page, PageAfterKey(c.current, c.count, c.key, c.ctrl, c.shift, c.alt)) << "case " << &c - cases;
}

#ifdef _WIN32
// The font keys as a font at a DPI, and a font back into the keys. both: the keys give this
// font; else only the way back (a font the chooser gives: a cell height, any weight).
TEST(FontBinder, FontKeysAsAFontAndBack)
{
    const struct { const char* face; int size; font_style_t style; int dpi; LONG height, weight; bool both; } cases[] = {
        {"MS UI Gothic", 10, {0, 0, 0, 0}, 96, -13, FW_NORMAL, true}, {"Arial", 12, {1, 0, 1, 0}, 120, -20, FW_BOLD, true},
        {"ＭＳ Ｐゴシック", 11, {1, 1, 1, 1}, 144, -22, FW_BOLD, true}, {"Courier New", 9, {0, 1, 0, 1}, 96, -12, FW_NORMAL, true},
        {"Arial", 15, {0, 0, 0, 0}, 96, 20, FW_SEMIBOLD, false}, {"Arial", 15, {1, 0, 0, 0}, 96, -20, FW_HEAVY, false},
    };
    auto text = [](const LOGFONTA& f) {
        return std::string(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " " + std::to_string(f.lfWeight) + " " +
               std::to_string(f.lfItalic) + std::to_string(f.lfUnderline) + std::to_string(f.lfStrikeOut);
    };
    for (const auto& c : cases) {
        hint_settings_t keys = {}, back = {};
        CopyText(keys.FontName, c.face);
        keys.FontSize = c.size, keys.FontStyle = c.style, keys.FontColor = back.FontColor = RGB(1, 2, 3);
        LOGFONTA font = {c.height, 0, 0, 0, c.weight, c.style.Italic, c.style.Underline, c.style.StrikeOut, 0, 0, 0, 0, 0, {}};
        CopyText(font.lfFaceName, c.face);
        if (c.both) { EXPECT_EQ(text(font), text(FontFromSettings(keys, c.dpi))) << "case " << &c - cases; }
        FontIntoSettings(font, c.dpi, back);
        EXPECT_TRUE(SameRecord(keys, back)) << "case " << &c - cases << ": the colour stays";
    }
}
#endif

}  // namespace
