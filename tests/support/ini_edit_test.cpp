// The settings file's new bytes after a save, the same on every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ini/ini_edit.h"

namespace {

// UTF-16 file bytes of ASCII text, mark first.
std::string Utf16(const std::string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
    for (char c : text) bytes += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    return bytes;
}

}  // namespace

TEST(EditIniFile, ChangesOnlyTheValueTheReaderReads)
{
    const std::vector<ini_edit_t> pos = {{"Form", "Pos", "3"}};
    const struct { const char* name; std::string before; std::vector<ini_edit_t> edits; std::string after; } cases[] = {
        {"blanks around the value kept", "[Form]\r\nPos = \t1 ; x \r\nA=1\r\n", pos, "[Form]\r\nPos = \t3 \r\nA=1\r\n"},
        {"names in another case", "[ form ]\nPOS=1\n", pos, "[ form ]\nPOS=3\n"},
        {"a key twice: the first", "[Form]\nPos=1\nPos=2\n", pos, "[Form]\nPos=3\nPos=2\n"},
        {"the first without '='", "[Form]\nPos\nPos=2\n", pos, "[Form]\nPos=3\nPos=2\n"},
        {"a section twice: the first", "[Form]\nA=1\n[x]\n[form]\nPos=2\n", pos, "[Form]\nA=1\nPos=3\n[x]\n[form]\nPos=2\n"},
        {"a missing key after the section's last line", "[Form]\nA=1\n\n; end\n\n[B]\n", pos, "[Form]\nA=1\n\n; end\nPos=3\n\n[B]\n"},
        {"a missing key at an end without a line end", "[Form]\rA=1", pos, "[Form]\rA=1\rPos=3\r"},
        {"a missing section", "[A]\nx=1", pos, "[A]\nx=1\n[Form]\nPos=3\n"},
        {"a new file, keys in order", "", {{"General", "Enable", "1"}, {"Form", "Pos", "0"}, {"Form", "Width", "0"}},
         "[General]\r\nEnable=1\r\n[Form]\r\nPos=0\r\nWidth=0\r\n"},
        {"Shift-JIS: ']' as a second byte", "[Form]\x83]\r\nPos=1\r\n", pos, "[Form]\x83]\r\nPos=3\r\n"},
        {"UTF-8 with mark", "\xef\xbb\xbf[Form]\nPos=\xe3\x83\xa1\n", pos, "\xef\xbb\xbf[Form]\nPos=3\n"},
        {"UTF-16 BE, a new key", Utf16("[Form]\nA=1\n", true), pos, Utf16("[Form]\nA=1\nPos=3\n", true)},
        {"a value cut at its line end", "[Form]\nPos=1\n", {{"Form", "Pos", "3\r\n[Form]"}}, "[Form]\nPos=3\n"},
        {"nothing to change, an odd last byte", Utf16("[Form]\nPos=3\n", false) + "\x01", pos,
         Utf16("[Form]\nPos=3\n", false) + "\x01"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.after, EditIniFile(c.before, c.edits)) << c.name;
}
