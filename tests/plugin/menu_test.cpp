// The plug-in's name and menu block, byte for byte, around sentinel-filled buffers.
#include "tests/common/wine_test.h"

#include "tests/common/settings_record.h"

namespace {

constexpr unsigned char kSentinel = 0xCD;

// The expected 666 bytes of one entry: its texts in fields of 48, 24 and 592 bytes, zero-filled.
std::string Entry(char checked, const char* caption, const char* shortcut, const char* command)
{
    auto field = [](const char* text, size_t size) { return std::string(text) + std::string(size - strlen(text), '\0'); };
    return std::string{'\1', checked} + field(caption, 48) + field(shortcut, 24) + field(command, 592);
}

// The menu block copied into a buffer with 16 sentinel bytes after its end.
std::string MenuCopy()
{
    std::string buffer(kMenuBlockSize + 16, char(kSentinel));
    int count = -1;
    Zlvn_OnSetupSubMenu(&count, &buffer[0]);
    EXPECT_EQ(3, count);
    return buffer;
}

class MenuBlock : public ::testing::Test {
protected:
    void SetUp() override { memset(&HintSettings, 0, sizeof HintSettings); }
    void TearDown() override { HintSettings = saved, SetToggleMenuChecked(true); }
    const hint_settings_t saved = HintSettings;
};

}  // namespace

TEST_F(MenuBlock, IsThreeEntriesOf666BytesInShiftJis)
{
    SetToggleMenuChecked(true);
    CopyText(HintSettings.ToggleEnable, "Ctrl+H");
    const std::string expected = Entry(1, "\x97\x4c\x8c\xf8(&T)", "Ctrl+H", "HintToggleEnable") +
                                 Entry(0, "\x90\xdd\x92\xe8", "", "HintOption") +
                                 Entry(0, "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93(&A)", "", "HintVersion");
    ASSERT_EQ(1998u, expected.size());
    EXPECT_EQ(expected + std::string(16, char(kSentinel)), MenuCopy()) << "the block, and the bytes after it untouched";
}

TEST_F(MenuBlock, CountOnlyWhenItemsAreNull)
{
    CopyText(g_menu[0].shortcut, "before");
    CopyText(HintSettings.ToggleEnable, "Alt+X");
    int count = -1;
    Zlvn_OnSetupSubMenu(&count, nullptr);
    EXPECT_EQ(3, count);
    EXPECT_STREQ("before", g_menu[0].shortcut);  // not refreshed without a buffer
}

TEST_F(MenuBlock, ShortcutFieldIsZeroFilledAndCut)
{
    CopyText(HintSettings.ToggleEnable, "Shift+Ctrl+Alt+PgDn");
    MenuCopy();
    HintSettings.ToggleEnable[0] = '\0';
    auto field = [] { return MenuCopy().substr(50, 25); };
    EXPECT_EQ(std::string(24, '\0') + "H", field()) << "empty shortcut";
    memset(HintSettings.ToggleEnable, 'K', 23);
    HintSettings.ToggleEnable[23] = '\0';
    EXPECT_EQ(std::string(23, 'K') + '\0' + "H", field()) << "23-character shortcut";
    memset(HintSettings.ToggleEnable, 'Q', sizeof HintSettings.ToggleEnable);
    EXPECT_EQ(std::string(23, 'Q') + '\0' + "H", field()) << "an unterminated field is still cut inside its 24 bytes";
}

TEST_F(MenuBlock, CheckMarkFollowsTheToggleState)
{
    SetToggleMenuChecked(false);
    EXPECT_EQ(0, MenuCopy()[1]);
    SetToggleMenuChecked(true);
    EXPECT_EQ(1, MenuCopy()[1]);
}

TEST(PluginInfo, IsHintFollowedBy76Zeros)
{
    unsigned char info[96];
    memset(info, kSentinel, sizeof info);
    Zlvn_OnGetPluginInfo(reinterpret_cast<char*>(info));
    EXPECT_EQ("Hint" + std::string(76, '\0') + std::string(16, char(kSentinel)), std::string(info, info + sizeof info));
}

TEST(FontStyle, PacksAndUnpacksTheFourFlags)
{
    EXPECT_EQ((font_style_t{1, 0, 1, 0}), UnpackFontStyle(5));
    for (auto [bits, packed] : {std::pair{5, 5}, {16, 0}, {-1, 15}, {15, 15}})
        EXPECT_EQ(packed, PackFontStyle(UnpackFontStyle(bits))) << bits;
}
