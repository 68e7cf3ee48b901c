// The reference host prints a settings file as a person reads it, whatever its encoding.
#include "tests/common/wine_test.h"

#include "host/text_utf8.h"

TEST(HostDecoding, SettingsFilePrintedByItsMark)
{
    // "FontName=ＭＳ ゴシック" in each encoding; the ANSI code page under test is 932.
    const std::string utf8 = "FontName=\xef\xbc\xad\xef\xbc\xb3 \xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf\r\n";
    const std::string utf16le("\xff\xfe" "F\0o\0n\0t\0N\0a\0m\0e\0=\0\x2d\xff\x33\xff \0\xb4\x30\xb7\x30\xc3\x30\xaf\x30\r\0\n\0", 38);
    const struct {
        const char* name;
        std::string bytes;
        const char* encoding;
    } cases[] = {
        {"Shift-JIS", "FontName=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\n", "the ANSI code page 932"},
        {"UTF-8 with a mark", "\xef\xbb\xbf" + utf8, "UTF-8 with a byte order mark"},
        {"UTF-16 LE", utf16le, "UTF-16 LE with a byte order mark"},
    };
    for (const auto& c : cases) {
        std::string encoding;
        EXPECT_EQ(utf8, SettingsFileAsUtf8(c.bytes, &encoding)) << c.name;
        EXPECT_EQ(c.encoding, encoding) << c.name;
    }
}
