// The plug-in loaded by hosts that lack some functions. The same source builds one
// test program per kind of host; HOST_LACKS names what that host does not export.
#include "tests/common/wine_test.h"

#include "plugin/records/host_api.h"
#include "tests/plugin/refusal_report.h"

#if defined(HOST_LACKS_GETVERSION)

using HostWithoutGetVersion = FreshHost;

TEST_F(HostWithoutGetVersion, RefusesWithAnEmptyVersionAndListsTheMissingFunction)
{
    Host().logSeverity = 4;
    PluginDll dll;
    EXPECT_FALSE(dll.Load());
    EXPECT_EQ(ERROR_DLL_INIT_FAILED, dll.Error());
    EXPECT_EQ("3 " + RefusalReport("") + "\n4 Hint failed load ZlvnApi.GetVersion()\n", HostLog());
}

TEST_F(HostWithoutGetVersion, DefaultThresholdHidesTheMissingFunctionLines)
{
    Host().logSeverity = 3;
    EXPECT_FALSE(PluginDll().Load());
    EXPECT_EQ("3 " + RefusalReport("") + "\n", HostLog());
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
    EXPECT_EQ("-1 " + RefusalReport("0.9.6.3") + "\n", HostLog());
}

#elif defined(HOST_LACKS_SEVERITY)

using HostWithoutLogSeverity = FreshHost;

TEST_F(HostWithoutLogSeverity, PrintsLevel3AndHidesLevel4)
{
    Host().version = "1.0.0.0";
    EXPECT_FALSE(PluginDll().Load());
    // The missing Zlvn_GetLogSeverity is reported at level 4, which the default threshold hides.
    EXPECT_EQ("3 " + RefusalReport("1.0.0.0") + "\n", HostLog());
    EXPECT_EQ(0, HostCalls("Zlvn_GetLogSeverity"));
}

TEST_F(HostWithoutLogSeverity, CallsOfMissingFunctionsDoNothing)
{
    ZlvnAPI api;
    EXPECT_FALSE(api.IsBound(ZlvnFn::GetLogSeverity));
    EXPECT_TRUE(api.IsBound(ZlvnFn::GetList));
}

#endif
