// Loading the real DLL into a host that offers every function: the version check,
// its refusal reports and the log channel.
#include "tests/common/wine_test.h"

#include "plugin/records/host_api.h"
#include "tests/plugin/refusal_report.h"

using PluginLoad = FreshHost;
using LogChannel = FreshHost;

TEST_F(PluginLoad, LoadsInsideTheVersionRange)
{
    for (const char* version : {"version 0.9.6.33", "0.9.6.33", "0.9.6.4", "version 0.9.99"}) {
        zlvnhost::ResetHost();
        Host().version = version;
        PluginDll dll;
        EXPECT_TRUE(dll.Load()) << version << " error " << dll.Error();
        EXPECT_EQ("", HostLog()) << version;
    }
}

TEST_F(PluginLoad, RefusesOutsideTheRangeWithTheReportAtLevel3)
{
    // shown: the version as the report gives it, without an exact "version " prefix.
    for (auto [version, shown] : {std::pair{"1.0.0.0", "1.0.0.0"}, {"version 1.0.0.0", "1.0.0.0"}, {"0.9.6.3", "0.9.6.3"},
                                  {"0.9.10.0", "0.9.10.0"}, {"Version 0.9.6.33", "Version 0.9.6.33"}}) {
        zlvnhost::ResetHost();
        Host().version = version;
        PluginDll dll;
        EXPECT_FALSE(dll.Load()) << version;
        EXPECT_EQ(ERROR_DLL_INIT_FAILED, dll.Error()) << version;
        EXPECT_EQ("3 " + RefusalReport(shown) + "\n", HostLog()) << version;  // no function is missing here
    }
}

TEST_F(PluginLoad, ThresholdFromTheHostHidesLessSevereLines)
{
    Host().version = "1.0.0.0";
    Host().logSeverity = 2;
    EXPECT_FALSE(PluginDll().Load());
    EXPECT_EQ("", HostLog());
}

TEST_F(PluginLoad, SettingsPathIsBesideTheModule)
{
    PluginDll dll("Other.Name.dll");
    ASSERT_TRUE(dll.Load());
    // The module's own settings path is not exported; the next steps of the
    // lifecycle do not need the file, so only the load itself is checked here.
    char info[80];
    dll.OnGetPluginInfo(info);
    EXPECT_STREQ("Hint", info);
}

TEST_F(LogChannel, CutsTheLineAt255Characters)
{
    Host().logSeverity = 5;
    ZlvnAPI api;
    api.Print(1, "Hint", "%s", std::string(300, 'a').c_str());
    EXPECT_EQ("1 Hint " + std::string(250, 'a') + "\n", HostLog()) << "255 characters";
}

TEST_F(LogChannel, AsksTheHostOnceAndComparesLevels)
{
    Host().logSeverity = 4;
    ZlvnAPI api;
    api.Print(4, "Hint", "four");
    api.Print(5, "Hint", "five");
    api.Print(3, "Hint", "three %d", 3);
    api.Print(3, "", "no prefix");
    EXPECT_EQ("4 Hint four\n3 Hint three 3\n", HostLog());
    EXPECT_EQ(1, HostCalls("Zlvn_GetLogSeverity"));
}

TEST_F(LogChannel, HostAnswering8IsAskedAgain)
{
    Host().logSeverity = 8;
    ZlvnAPI api;
    api.Print(8, "Hint", "a");
    api.Print(8, "Hint", "b");
    EXPECT_EQ("8 Hint a\n8 Hint b\n", HostLog());
    EXPECT_EQ(2, HostCalls("Zlvn_GetLogSeverity"));
}

TEST(HostTable, BindsEveryNameOfAFullHost)
{
    ZlvnAPI api;
    EXPECT_EQ(GetModuleHandleA(nullptr), api.HostModule());
    for (int i = 0; i < kZlvnFnCount; ++i) EXPECT_TRUE(api.IsBound(static_cast<ZlvnFn>(i))) << HostFunctionName(static_cast<ZlvnFn>(i));
}
