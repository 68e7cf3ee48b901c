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
    char path[262];
    MakeSettingsPath("C:\\p\\ZlvnHint.dll", path);
    EXPECT_STREQ("C:\\p\\ZlvnHint.ini", path);
    MakeSettingsPath("C:\\p.q\\ZlvnHint", path);
    EXPECT_STREQ("C:\\p.ini", path);
    MakeSettingsPath("C:\\p\\ZlvnHint", path);
    EXPECT_STREQ("C:\\p\\ZlvnHint.ini", path);
}

TEST(SettingsPath, LongModulePathStaysBounded)
{
    std::string longPath = "C:\\" + std::string(250, 'a') + "\\ZlvnHint.dll";  // 266 characters
    char path[262];
    memset(path, 'X', sizeof path);
    MakeSettingsPath(longPath.c_str(), path);
    EXPECT_LT(strlen(path), sizeof path);
}
#endif
