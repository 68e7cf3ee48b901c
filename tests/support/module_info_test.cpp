// The module's file version, error texts and the monitor under the cursor.
#include "tests/common/wine_test.h"

#include "support/app_info.h"
#include "support/monitor_rect.h"
#include "support/win_last_error.h"
#include "zlvn_version.h"

namespace {

using ModuleInfo = ClearedFailureRecord;

// Loads a fixture module from the build folder and asks its version, which must fail:
// the output is emptied and the failure recorded (its message returned).
std::string FailedVersionOf(const char* name)
{
    HMODULE module = LoadLibraryA((ProgramDir() + "\\" + name).c_str());
    EXPECT_NE(nullptr, module) << name;
    std::string version = "old";
    EXPECT_EQ(ResultCode::WindowsApiError, AppInfo(module).GetFileVersion(&version)) << name;
    EXPECT_EQ("", version) << name << ": emptied on failure";
    if (module) FreeLibrary(module);
    return LastError().IsValid() ? LastError().RecordedMessage() : "";
}

}  // namespace

TEST_F(ModuleInfo, FileVersionOfThePlugin)
{
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << "error " << dll.Error();
    std::string version = "old";
    EXPECT_EQ(ResultCode::Normal, AppInfo(dll.Module()).GetFileVersion(&version));
    EXPECT_EQ(ZLVN_FILE_VERSION, version);
    EXPECT_FALSE(LastError().IsValid()) << "success records nothing";
}

// The four numbers and both version texts of the resource all come from the build's one version.
TEST_F(ModuleInfo, VersionResourceNumbersAndTextsAgree)
{
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << "error " << dll.Error();
    DWORD size = GetFileVersionInfoSizeA(dll.Path().c_str(), nullptr);
    ASSERT_NE(0u, size);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(dll.Path().c_str(), 0, size, block.data()));
    UINT length = 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));

    // The build's four numbers, then FILEVERSION and PRODUCTVERSION, each as "a.b.c.d".
    const unsigned n[] = {ZLVN_VERSION_NUMBERS};
    const VS_FIXEDFILEINFO& f = *fixed;
    char joined[128];
    snprintf(joined, sizeof joined, "%u.%u.%u.%u %u.%u.%u.%u %u.%u.%u.%u", n[0], n[1], n[2], n[3],
             HIWORD(f.dwFileVersionMS), LOWORD(f.dwFileVersionMS), HIWORD(f.dwFileVersionLS), LOWORD(f.dwFileVersionLS),
             HIWORD(f.dwProductVersionMS), LOWORD(f.dwProductVersionMS), HIWORD(f.dwProductVersionLS), LOWORD(f.dwProductVersionLS));
    EXPECT_EQ(ZLVN_FILE_VERSION " " ZLVN_FILE_VERSION " " ZLVN_FILE_VERSION, std::string(joined));
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        char* text = nullptr;
        std::string path = std::string("\\StringFileInfo\\041103a4\\") + key;
        ASSERT_TRUE(VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ(ZLVN_FILE_VERSION, text) << key;
    }
}

TEST_F(ModuleInfo, ModuleWithoutVersionResource)
{
    std::string message = FailedVersionOf("fixture_noversion.dll");
    EXPECT_EQ(0u, message.find("GetFileVersionInfo() return 0. GetLastError()=")) << message;
    EXPECT_NE("GetFileVersionInfo() return 0. GetLastError()=0.", message) << "the error code is carried";
}

TEST_F(ModuleInfo, OnlyTheFirstTranslationIsAsked)
{
    std::string message = FailedVersionOf("fixture_secondlang.dll");
    EXPECT_EQ(0u, message.find("VerQueryValue() return 0. GetLastError()=")) << message;
}

TEST_F(ModuleInfo, InvalidModuleHandleKeepsTheOutput)
{
    std::string version = "kept";
    HMODULE bogus = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x7ff00000));
    EXPECT_EQ(ResultCode::WindowsApiError, AppInfo(bogus).GetFileVersion(&version));
    EXPECT_EQ("kept", version);

    SetLastError(0);
    char path[MAX_PATH];
    ASSERT_EQ(0u, GetModuleFileNameA(bogus, path, MAX_PATH));
    GetWinLastError error(GetLastError());
    ASSERT_NE(0u, error.m_code);
    EXPECT_EQ(std::string("failed GetModuleFileName() GetLastError()=") + error.m_message, LastError().RecordedMessage());
}

TEST_F(ModuleInfo, MissingOutputIsRecordedNotAsserted)
{
    EXPECT_EQ(ResultCode::InvalidArgument, AppInfo(GetModuleHandleA(nullptr)).GetFileVersion(nullptr));
    EXPECT_STREQ("o_str is NULL", LastError().RecordedMessage());
}

TEST(WinErrorText, CodeZeroHasNoTexts)
{
    GetWinLastError error(0);
    EXPECT_EQ("0 '' ''", std::to_string(error.m_code) + " '" + error.m_label + "' '" + error.m_message + "'");
}

TEST(WinErrorText, SystemCodeHasLabelAndOneLineText)
{
    GetWinLastError error(ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ("GetLastError()=2(0x00000002)", error.m_label);
    std::string message = error.m_message;
    EXPECT_FALSE(message.empty());
    EXPECT_NE(0u, message.find("Failed FormatMessage")) << message;
    EXPECT_EQ(std::string::npos, message.find('\n')) << "one line: " << message;

    GetWinLastError big(0xC0000005);
    EXPECT_STREQ("GetLastError()=-1073741819(0xc0000005)", big.m_label) << "decimal as signed";
}

TEST(WinErrorText, InternetCodesComeFromWininetsTable)
{
    GetWinLastError error(12029);  // cannot connect
    std::string message = error.m_message;
    EXPECT_NE(0u, message.find("Failed FormatMessage")) << message;

    HMODULE wininet = LoadLibraryA("WININET.DLL");
    ASSERT_NE(nullptr, wininet);
    char expected[1024] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK, wininet,
                   12029, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expected, sizeof expected, nullptr);
    FreeLibrary(wininet);
    EXPECT_NE("", std::string(expected)) << "WININET.DLL has a text for 12029";
    EXPECT_EQ(std::string(expected), message);
}

TEST(WinErrorText, CodeWithoutTextSaysWhyFormatMessageFailed)
{
    GetWinLastError error(0x2000abcd);
    std::string message = error.m_message;
    std::string prefix = std::string("Failed FormatMessage(") + error.m_label + ")=";
    EXPECT_EQ(0u, message.find(prefix)) << message;
    EXPECT_NE(prefix + "0(0x00000000)", message) << "the failure's own code is carried";
}

TEST(Monitors, CursorMonitorIsOneOfTheListedMonitors)
{
    MonitorRect monitors;
    ASSERT_GE(monitors.Monitors().size(), 1u);
    for (const dispinfo_t& info : monitors.Monitors()) {
        EXPECT_NE(nullptr, info.hMonitor);
        EXPECT_LT(info.rcMonitor.left, info.rcMonitor.right);
        EXPECT_LE(info.rcMonitor.left, info.rcWork.left);
        EXPECT_GE(info.rcMonitor.bottom, info.rcWork.bottom);
    }

    const dispinfo_t& last = monitors.Monitors().back();
    ASSERT_TRUE(SetCursorPos(last.rcMonitor.left + 5, last.rcMonitor.top + 5));
    RECT rect = {-1, -1, -1, -1};
    EXPECT_EQ(ResultCode::Normal, monitors.GetCursorMonitorRect(&rect));
    EXPECT_TRUE(EqualRect(&last.rcMonitor, &rect)) << "full rectangle, task bar included: " << rect.left << ","
                                                   << rect.top << "," << rect.right << "," << rect.bottom;

    EXPECT_EQ(ResultCode::InvalidArgument, monitors.GetCursorMonitorRect(nullptr));
}
