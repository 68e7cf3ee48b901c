// Colour text of the settings file both ways: RRGGBB text, 0x00BBGGRR in memory.
// Under Wine both ways go through IniFile, as the plug-in does; natively through the
// rules themselves, with buffers of exactly the size asked for (AddressSanitizer guards them).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/colour_text.h"

#ifdef _WIN32
#include <windows.h>

#include "support/ini/ini_file.h"
#else
#define RGB(r, g, b) ((r) | ((g) << 8) | ((b) << 16))
#endif

namespace {

int HexValue(const char* text)
{
#ifdef _WIN32
    int value = -12345;
    EXPECT_EQ(ResultCode::Normal, IniFile::HexToInt(text, &value)) << "text \"" << text << "\"";
    return value;
#else
    std::vector<char> work(ColourWorkSize(text));
    return ColourTextToValue(text, work.data());
#endif
}

std::string HexText(int value, size_t size = 9)
{
    char text[32];
    memset(text, '#', sizeof text);
#ifdef _WIN32
    IniFile::IntToHex(value, text, size);
#else
    ColourValueToText(static_cast<uint32_t>(value), text, size);
#endif
    return text;
}

}  // namespace

TEST(ColourText, ReadsRedGreenBlueIntoColorref)
{
    const struct { const char* text; int value; } cases[] = {
        {"0x0000ff", 0x00ff0000} /* pure blue: 255 in the third byte */, {"0xff0000", 0x000000ff} /* pure red */,
        {"0x00ff00", 0x0000ff00}, {"0xf7f700", 0x0000f7f7}, {"0xffff80", 0x0080ffff}, {"0xd4d4d4", 0x00d4d4d4},
        {"0x000000", 0}, {"0x12AbcD", 0x00cdab12}, {"0x", 0}, {"", 0}, {"0x12345678", 0x78563412},
        {"0000ff", 0x00ff0000}, {"ff0000", 0x000000ff},  // no prefix: same six digits reversed pairwise
        {"0X0000FF", 0x0ff00000},  // upper-case X is a digit pair "0X": it moves to the end and stops the number
        {"0x00zz11", 0x00000011},  // the number stops at the first non-digit of the reversed text
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, HexValue(c.text)) << "text \"" << c.text << "\"";
    EXPECT_EQ(RGB(0, 0, 255), HexValue("0x0000ff"));
}

TEST(ColourText, OddDigitCountReadsAsIfALeadingZeroStoodBefore)
{
    const struct { const char* odd; const char* padded; int value; } cases[] = {
        {"0xfff", "0x0fff", 0xff0f}, {"0x1", "0x01", 0x01}, {"0x12345", "0x012345", 0x452301},
        {"abc", "0abc", 0xbc0a}, {"7", "07", 0x07}, {"0x0000f", "0x00000f", 0x0f0000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value, HexValue(c.odd)) << "odd text \"" << c.odd << "\"";
        EXPECT_EQ(HexValue(c.padded), HexValue(c.odd)) << "odd text \"" << c.odd << "\" against \"" << c.padded << "\"";
    }
}

// Under Wine the text lies right after an inaccessible page and the work buffer right
// before one; natively both are heap blocks of their exact size under AddressSanitizer.
// Either way a read before the text or a write past the buffer stops the test.
TEST(ColourText, NeverTouchesBytesOutsideTextOrWorkBuffer)
{
    const struct { const char* text; int32_t value; } cases[] = {
        {"0xfff", 0xff0f}, {"fff", 0xff0f}, {"0x1", 1}, {"1", 1}, {"0x", 0}, {"x", 0}, {"", 0},
        {"0xabcdef", 0xefcdab}, {"abcdefa", 0x7fffffff} /* 0xfadebc0a saturates */, {"0x1234567", 0x67452301},
    };
#ifdef _WIN32
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    // Four pages reserved, the middle two usable: the outer ones stay inaccessible.
    char* base = static_cast<char*>(VirtualAlloc(nullptr, 4 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(nullptr, base);
    ASSERT_NE(nullptr, VirtualAlloc(base + page, 2 * page, MEM_COMMIT, PAGE_READWRITE));
#endif
    for (const auto& c : cases) {
        const size_t size = ColourWorkSize(c.text);
#ifdef _WIN32
        char* text = strcpy(base + page, c.text);
        char* work = static_cast<char*>(memset(base + 3 * page - size, 0, size));
#else
        std::vector<char> exact(c.text, c.text + strlen(c.text) + 1), buffer(size);
        char *text = exact.data(), *work = buffer.data();
#endif
        EXPECT_EQ(c.value, ColourTextToValue(text, work)) << "text \"" << c.text << "\"";
    }
#ifdef _WIN32
    VirtualFree(base, 0, MEM_RELEASE);
#endif
}

TEST(ColourText, WritesRedGreenBlueWithLowerCaseDigits)
{
    EXPECT_EQ("0x0000ff", HexText(RGB(0, 0, 255))) << "pure blue";
    EXPECT_EQ("0xff0000", HexText(RGB(255, 0, 0))) << "pure red";
    EXPECT_EQ("0xf7f700", HexText(RGB(247, 247, 0)));
    EXPECT_EQ("0x000000", HexText(0));
    EXPECT_EQ("0x563412", HexText(static_cast<int>(0xab123456))) << "highest byte dropped";
    EXPECT_EQ("0xab0", HexText(RGB(0xab, 0, 0), 6)) << "printf-style truncation";
    EXPECT_EQ("", HexText(0xab0000, 1)) << "size 1";
}

TEST(ColourText, EveryColourSurvivesTheRoundTrip)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 5000; ++i) {
        int colour = static_cast<int>(random() & 0xffffff);
        std::string text = HexText(colour);
        ASSERT_EQ(8u, text.size()) << "colour " << colour;
        ASSERT_EQ(colour, HexValue(text.c_str())) << "colour " << colour << " text " << text;
    }
}
