// The plug-in loaded by hosts that lack some functions. The same source builds one
// test program per kind of host; HOST_LACKS names what that host does not export.
#include "tests/common/wine_test.h"

#include "plugin/records/host_api.h"

#if defined(HOST_LACKS_GETVERSION)

using HostWithoutGetVersion = FreshHost;

TEST_F(HostWithoutGetVersion, RefusesWithAnEmptyVersionAndListsTheMissingFunction)
{
    Host().logSeverity = 4;
    PluginDll dll;
    EXPECT_FALSE(dll.Load());
    EXPECT_EQ(ERROR_DLL_INIT_FAILED, dll.Error());
    ASSERT_EQ(2u, Host().log.size());
    EXPECT_EQ(3, Host().log[0].level);
    const std::string& mismatch = Host().log[0].text;
    // "...ver.には対応していません。": the host version between "ver." and the tail is empty.
    EXPECT_NE(std::string::npos, mismatch.find("ver.\x82\xc9\x82\xcd\x91\xce\x89\x9e")) << mismatch;
    EXPECT_EQ(4, Host().log[1].level);
    EXPECT_EQ("Hint failed load ZlvnApi.GetVersion()", Host().log[1].text);
}

TEST_F(HostWithoutGetVersion, DefaultThresholdHidesTheMissingFunctionLines)
{
    Host().logSeverity = 3;
    EXPECT_FALSE(PluginDll().Load());
    ASSERT_EQ(1u, Host().log.size());
    EXPECT_EQ(3, Host().log[0].level);
}

#elif defined(HOST_LACKS_PRINT)

using HostWithoutPrintFunctions = FreshHost;

TEST_F(HostWithoutPrintFunctions, BindsNothingAndRefusesSilently)
{
    ZlvnAPI api;
    for (int i = 0; i < kZlvnFnCount; ++i) EXPECT_FALSE(api.IsBound(static_cast<ZlvnFn>(i)));
    EXPECT_FALSE(PluginDll().Load());
    EXPECT_EQ("", HostCallList());
}

#elif defined(HOST_LACKS_PRINTRAW)

using HostWithOnlyPrintErrRaw = FreshHost;

TEST_F(HostWithOnlyPrintErrRaw, GetsEveryLineWithoutLevel)
{
    Host().version = "0.9.6.3";
    Host().logSeverity = 4;
    EXPECT_FALSE(PluginDll().Load());
    ASSERT_EQ(1u, Host().log.size());
    EXPECT_EQ(-1, Host().log[0].level);
    EXPECT_EQ(0u, Host().log[0].text.find("Hint Hint"));
}

#elif defined(HOST_LACKS_SEVERITY)

using HostWithoutLogSeverity = FreshHost;

TEST_F(HostWithoutLogSeverity, PrintsLevel3AndHidesLevel4)
{
    Host().version = "1.0.0.0";
    EXPECT_FALSE(PluginDll().Load());
    // The missing Zlvn_GetLogSeverity is reported at level 4, which the default threshold hides.
    ASSERT_EQ(1u, Host().log.size());
    EXPECT_EQ(3, Host().log[0].level);
    EXPECT_EQ(0, HostCalls("Zlvn_GetLogSeverity"));
}

TEST_F(HostWithoutLogSeverity, CallsOfMissingFunctionsDoNothing)
{
    ZlvnAPI api;
    EXPECT_FALSE(api.IsBound(ZlvnFn::GetLogSeverity));
    EXPECT_TRUE(api.IsBound(ZlvnFn::GetList));
}

#endif
