#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/records/version_rule.h"
#ifdef _WIN32
#include "plugin/records/module_state.h"
#endif

TEST(VersionRule, AcceptsTheRangeAsText)
{
    struct Case { const char* host; bool accepted; };
    const Case cases[] = {
        {"0.9.6.33", true}, {"0.9.6.4", true}, {"0.9.9.9", true}, {"0.9.6.33a", true},
        {"1.0.0.0", false}, {"0.9.6.3", false}, {"0.9.10.0", false}, {"", false}, {"2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.accepted, VersionInRange(c.host, kHostVersionLower, kHostVersionUpper)) << c.host;
    }
}

TEST(VersionRule, SkipsOnlyTheExactPrefix)
{
    EXPECT_STREQ("0.9.6.33", SkipVersionPrefix("version 0.9.6.33"));
    EXPECT_STREQ("Version 0.9.6.33", SkipVersionPrefix("Version 0.9.6.33"));
    EXPECT_STREQ("version0.9.6.33", SkipVersionPrefix("version0.9.6.33"));
    EXPECT_STREQ("", SkipVersionPrefix("version "));
}

#ifdef _WIN32
// The settings path is made in the module's attach step.
TEST(SettingsPath, CutsAtTheLastDotOfTheWholePath)
{
    EXPECT_EQ(L"C:\\p\\ZlvnHint.ini", MakeSettingsPath(L"C:\\p\\ZlvnHint.dll"));
    EXPECT_EQ(L"C:\\p.ini", MakeSettingsPath(L"C:\\p.q\\ZlvnHint"));
    EXPECT_EQ(L"C:\\p\\ZlvnHint.ini", MakeSettingsPath(L"C:\\p\\ZlvnHint"));
}

// Beyond MAX_PATH the path is whole: the wide functions take it.
TEST(SettingsPath, LongModulePathStaysWhole)
{
    std::wstring folder = L"C:\\" + std::wstring(250, L'a');  // 266 characters in all
    EXPECT_EQ(folder + L"\\ZlvnHint.ini", MakeSettingsPath(folder + L"\\ZlvnHint.dll"));
}
#endif
