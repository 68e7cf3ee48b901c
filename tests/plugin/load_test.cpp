// Loading the real DLL into a host that offers every function: the version check,
// its refusal reports and the log channel.
#include "tests/common/wine_test.h"

#include "plugin/records/host_api.h"

namespace {

const std::string kMismatchPrefix =
    "Hint Hint\x83\x76\x83\x89\x83\x4f\x83\x43\x83\x93\x82\xcd"  // Hint Hintプラグインは
    "Zelvanever.0.9.6.33\x88\xc8\x8f\xe3ver.1.0.0.0\x96\xa2\x96\x9e\x82\xc5\x8e\x67\x97\x70\x82\xc5\x82\xab"
    "\x82\xdc\x82\xb7\x81\x42ver.";
const std::string kMismatchSuffix = "\x82\xc9\x82\xcd\x91\xce\x89\x9e\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\x81\x42";

using PluginLoad = FreshHost;
using LogChannel = FreshHost;

}  // namespace

TEST_F(PluginLoad, LoadsInsideTheVersionRange)
{
    for (const char* version : {"version 0.9.6.33", "0.9.6.33", "0.9.6.4", "version 0.9.99"}) {
        zlvnhost::ResetHost();
        Host().version = version;
        PluginDll dll;
        EXPECT_TRUE(dll.Load()) << version << " error " << dll.Error();
        EXPECT_TRUE(Host().log.empty()) << version;
    }
}

TEST_F(PluginLoad, RefusesOutsideTheRangeWithTheReportAtLevel3)
{
    for (const char* version : {"1.0.0.0", "version 1.0.0.0", "0.9.6.3", "0.9.10.0", "Version 0.9.6.33"}) {
        zlvnhost::ResetHost();
        Host().version = version;
        PluginDll dll;
        EXPECT_FALSE(dll.Load()) << version;
        EXPECT_EQ(ERROR_DLL_INIT_FAILED, dll.Error()) << version;
        ASSERT_EQ(1u, Host().log.size()) << version;  // no function is missing here
        std::string shown = strncmp(version, "version ", 8) == 0 ? version + 8 : version;
        EXPECT_EQ(3, Host().log[0].level);
        EXPECT_EQ(kMismatchPrefix + shown + kMismatchSuffix, Host().log[0].text) << version;
    }
}

TEST_F(PluginLoad, ThresholdFromTheHostHidesLessSevereLines)
{
    Host().version = "1.0.0.0";
    Host().logSeverity = 2;
    EXPECT_FALSE(PluginDll().Load());
    EXPECT_TRUE(Host().log.empty());
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
    ASSERT_EQ(1u, Host().log.size());
    EXPECT_EQ(255u, Host().log[0].text.size());
    EXPECT_EQ("Hint " + std::string(250, 'a'), Host().log[0].text);
    EXPECT_EQ(1, Host().log[0].level);
}

TEST_F(LogChannel, AsksTheHostOnceAndComparesLevels)
{
    Host().logSeverity = 4;
    ZlvnAPI api;
    api.Print(4, "Hint", "four");
    api.Print(5, "Hint", "five");
    api.Print(3, "Hint", "three %d", 3);
    api.Print(3, "", "no prefix");
    ASSERT_EQ(2u, Host().log.size());
    EXPECT_EQ("Hint four", Host().log[0].text);
    EXPECT_EQ("Hint three 3", Host().log[1].text);
    EXPECT_EQ(1, HostCalls("Zlvn_GetLogSeverity"));
}

TEST_F(LogChannel, HostAnswering8IsAskedAgain)
{
    Host().logSeverity = 8;
    ZlvnAPI api;
    api.Print(8, "Hint", "a");
    api.Print(8, "Hint", "b");
    EXPECT_EQ(2u, Host().log.size());
    EXPECT_EQ(2, HostCalls("Zlvn_GetLogSeverity"));
}

TEST(HostTable, BindsEveryNameOfAFullHost)
{
    ZlvnAPI api;
    EXPECT_EQ(GetModuleHandleA(nullptr), api.HostModule());
    for (int i = 0; i < kZlvnFnCount; ++i) EXPECT_TRUE(api.IsBound(static_cast<ZlvnFn>(i))) << ZlvnFnName(static_cast<ZlvnFn>(i));
    EXPECT_STREQ("Zlvn_GetList", ZlvnFnName(ZlvnFn::GetList));
    EXPECT_STREQ("Zlvn_ReloadMenu", ZlvnFnName(ZlvnFn::ReloadMenu));
}
