// Fault injection through the real ZlvnHint.dll's import table. Each operation of the
// table runs once normally, counting the allocations and the creating GDI/USER calls it
// makes; then once per failure point with that fault armed: the n-th allocation fails
// and no other, or a stretch of creating calls fails and the later ones succeed. After
// each faulted run the call has come back, no more GDI objects or windows are left than
// after the normal run, and once nothing fails the plug-in works: a round shows every
// listed window one painted hint and teardown keeps every value of the settings file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/zlvn_host.h"
#include "plugin/records/setting_keys.h"
#include "tests/common/fault_hooks.h"
#include "tests/common/plugin_dll.h"
#include "tests/common/plugin_windows.h"
#include "tests/common/screen.h"
#include "tests/common/target_window.h"
#include "tests/common/temp_dir.h"
#include "tests/common/wait.h"
#include "tests/common/window_search.h"
#include "tests/dialogs/dialog_driver.h"

using zlvnhost::Host;

namespace {

// Failure points tried per operation at most, spread evenly over its calls; the
// environment's ZLVN_FAULT_ALL=1 tries every one, ZLVN_FAULT_FROM=n starts at point n
// (to go on past a point that ended the process).
constexpr long kMaxPoints = 64;
// Creating calls fail in stretches of this many (and once, all of the operation's).
constexpr long kCreateStretch = 3;
constexpr int kTargets = 5;

const COLORREF kBoxFill = RGB(0x12, 0xc4, 0x56);     // NmlBgColor below
const COLORREF kBitmapFill = RGB(0x5a, 0x21, 0xb4);  // every pixel of the background bitmap
const char kOptionTitle[] = "ダイアログ";
const char kVersionTitle[] = "バージョン情報";
const char kOtherPosition[] = "各アプリの中央(&4)";  // Pos 3; the file says 1
const char kOtherPositionValue[] = "3";

struct file_value_t {
    const char* section;
    const char* key;
    const char* value;  // null: filled in by the settings file's writer below
};

// A hand-written value other than the default for every key, but Enable (the hints must
// show) and IsUseBmp (chosen per operation).
const file_value_t kFileValues[] = {
    {"General", "Enable", "1"},
    {"Form", "Pos", "1"},
    {"Form", "Contents", "1"},
    {"Form", "Width", "48"},
    {"Form", "IsUseBmp", nullptr},
    {"Form", "NmlBorderColor", "0x0000ff"},
    {"Form", "NmlBgColor", "0x12c456"},
    {"Form", "MinBorderColor", "0xff0000"},
    {"Form", "MinBgColor", "0x00ff00"},
    {"Form", "BgNormal", nullptr},
    {"Form", "BgIconic", nullptr},
    {"Form", "FontName", "Courier New"},
    {"Form", "FontSize", "12"},
    {"Form", "FontStyle", "1"},
    {"Form", "FontColor", "0x202020"},
    {"Form", "IsNoOver", "0"},
    {"Form", "IsShowIcon", "0"},
    {"ShortcutKey", "ToggleEnable", "Ctrl+Alt+H"},
};
static_assert(sizeof kFileValues / sizeof kFileValues[0] == kSettingKeyCount, "a value for every key");

// A 4x4 24-bit bitmap file of one colour.
std::string SolidBitmapFile(COLORREF c)
{
    const int w = 4, h = 4, row = w * 3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4d42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + row * h;
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int i = 0; i < w * h; ++i) bytes += {char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c))};
    return bytes;
}

struct point_t {
    long at;     // allocation: the n-th fails; creating calls: how many succeed first
    long count;  // creating calls: how many fail then
};

enum class Fault { Allocation, Creating };

// What is left once the plug-in has been torn down (windows) and unloaded (GDI).
struct leftovers_t {
    int windows = 0;       // top-level windows of the module's instance
    size_t focus = 0;      // windows registered with the host and not unregistered
    long live[fault::kKinds] = {};
    long strayFrees = 0;
};

class Life;
using Step = void (*)(Life&);

struct operation_t {
    const char* name;
    bool bitmap;        // the settings file asks for the bitmap background
    Step before;        // run normally before the operation
    Step run;           // the operation, with the fault armed
    bool endsLife;      // teardown: the plug-in works again in a fresh life
    bool mayMovePos;    // presses OK with another position: Pos may hold either value
    bool makes;         // makes GDI objects or windows: tried with failing GDI/USER calls too
};

// One life of the plug-in from loading to unloading, with or without a fault armed
// for its operation.
class Life {
public:
    Life(PluginDll& dll, const std::vector<HWND>& targets, const operation_t& op)
        : m_dll(dll), m_targets(targets), m_op(op)
    {
    }

    // Runs the life; with fault, arms it for the operation. Checks everything but the
    // leftovers, which it measures.
    void Run(const Fault* fault, const point_t* point)
    {
        m_faulted = m_faultedLife = fault != nullptr;
        if (!Start()) return;
        if (m_op.before) m_op.before(*this);
        long allocations = fault::Counts().allocations, creates = fault::Counts().creates;
        if (fault && *fault == Fault::Allocation) fault::FailAllocation(point->at);
        if (fault && *fault == Fault::Creating) fault::FailCreates(point->at, point->count);
        m_op.run(*this);
        fault::NoFaults();
        opAllocations = fault::Counts().allocations - allocations;
        opCreates = fault::Counts().creates - creates;
        failed = fault::Counts().failed;
        failedCalls = fault::Counts().failedCalls;
        m_faulted = false;  // from here on the plug-in must work
        if (m_op.endsLife) {
            Measure();
            Stop();
            if (!Start(false)) return;
            SetUp(*this);
        }
        Round(*this);
        Teardown(*this);
        if (!m_op.endsLife) Measure();
        ExpectFileKept();
        Stop();
    }

    // The host lists count targets from the first.
    void List(int first, int count)
    {
        Host().list.clear();
        for (int i = first; i < first + count; ++i) {
            char text[16];
            snprintf(text, sizeof text, "Window %d", i);
            zlvnhost::AddListItem(m_targets[i % m_targets.size()], text);
        }
    }

    // Every listed window has exactly one hint, visible and painted in its fill colour.
    void ExpectHints()
    {
        for (const ZlvnList& item : Host().list) {
            std::vector<HWND> popups = ThreadWindows([&](HWND w) { return ClassName(w) == ClassOf(item.hwnd); });
            ASSERT_EQ(1u, popups.size()) << "hints of '" << item.text << "'";
            ASSERT_TRUE(IsWindowVisible(popups[0])) << "hint of '" << item.text << "'";
            RECT r = WindowRect(popups[0]);
            ASSERT_TRUE(WaitForScreen(r));
            COLORREF fill = m_op.bitmap ? kBitmapFill : kBoxFill;
            EXPECT_TRUE(ScreenPixels(r).Contains(fill)) << "hint of '" << item.text << "' shows " << ColourText(fill);
        }
        EXPECT_EQ(Host().list.size(), static_cast<size_t>(HintPopups().visible)) << Describe(HintPopups());
    }

    long opAllocations = 0, opCreates = 0, failed = 0;
    std::string failedCalls;
    leftovers_t left;

private:
    // Loads the plug-in, with a fresh settings file unless it keeps the last life's.
    bool Start(bool freshFile = true)
    {
        zlvnhost::ResetHost();
        std::string file;
        std::string section;
        for (const file_value_t& v : kFileValues) {
            if (section != v.section) file += "[" + (section = v.section) + "]\r\n";
            file += std::string(v.key) + "=" + Expected(v) + "\r\n";
        }
        if (freshFile) WriteWholeFile(m_dll.Dir().File("ZlvnHint.ini"), file);
        WriteWholeFile(m_dll.Dir().File("fill.bmp"), SolidBitmapFile(kBitmapFill));
        bool loaded = m_dll.Load();
        EXPECT_TRUE(loaded) << "error " << m_dll.Error();
        if (!loaded) return false;
        m_hooks.reset(new fault::Hooks(m_dll.Module()));
        fault::ResetCounts();
        return true;
    }

    void Stop()
    {
        m_dll.Unload();
        m_hooks.reset();  // after the unloading, so that its frees are counted
        const fault::gdi_tally_t& t = fault::Tally();
        if (m_measureGdi) {
            for (int k = 0; k < fault::kKinds; ++k) left.live[k] = t.Live(static_cast<fault::Kind>(k));
            left.strayFrees = t.strayFrees;
            m_measureGdi = false;
        }
    }

    // Windows after teardown now; GDI objects after the coming unloading.
    void Measure()
    {
        HMODULE module = m_dll.Module();
        left.windows = static_cast<int>(ThreadWindows([module](HWND w) {
                                            return reinterpret_cast<HMODULE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)) ==
                                                   module;
                                        }).size());
        left.focus = Host().focusWindows.size();
        m_measureGdi = true;
    }

    std::string Expected(const file_value_t& v) const
    {
        std::string key = v.key;
        if (key == "IsUseBmp") return m_op.bitmap ? "1" : "0";
        if (key == "BgNormal") return m_dll.Dir().File("fill.bmp");
        if (key == "BgIconic") return m_dll.Dir().File("iconic.bmp");
        return v.value;
    }

    // The file holds every value it was written with; Pos the dialog's after a life without
    // faults, and either after a faulted one.
    void ExpectFileKept() const
    {
        for (const file_value_t& v : kFileValues) {
            char value[300] = {};
            GetPrivateProfileStringA(v.section, v.key, "(missing)", value, sizeof value,
                                     m_dll.Dir().File("ZlvnHint.ini").c_str());
            bool pos = m_op.mayMovePos && std::string(v.key) == "Pos";
            if (pos && (!m_faultedLife || std::string(value) != Expected(v))) {
                EXPECT_STREQ(kOtherPositionValue, value) << "[Form] Pos after the dialog's OK and teardown";
                continue;
            }
            EXPECT_EQ(Expected(v), value) << "[" << v.section << "] " << v.key << " after teardown";
        }
    }

public:
    // ---- the steps the operations are made of, as the host calls them ----

    static void SetUp(Life& l) { l.m_dll.OnSetup(); }
    static void Teardown(Life& l) { l.m_dll.OnTeardown(); }

    // Shown over three windows, the list changes to four while shown, every hint repainted, hidden.
    static void Round(Life& l)
    {
        l.List(0, 3);
        l.m_dll.Call("Zlvn_OnActive");
        l.List(1, 4);
        l.m_dll.Call("Zlvn_OnUpdateList");
        std::vector<HWND> popups = Host().focusWindows;
        for (HWND popup : popups) {
            InvalidateRect(popup, nullptr, TRUE);
            UpdateWindow(popup);
        }
        if (!l.m_faulted) l.ExpectHints();
        l.m_dll.Call("Zlvn_OnInactive");
    }

    // The settings dialog: another position, then OK.
    static void OptionOk(Life& l)
    {
        DialogScript script("settings dialog");
        bool pressed = false, stayed = false;
        script.Then("shown", [] { return DialogWithTitle(kOptionTitle) != nullptr; })
            .Do("another position, OK", [&pressed] {
                HWND dialog = DialogWithTitle(kOptionTitle);
                PostClick(ChildWithText(dialog, kOtherPosition));
                PostClick(ChildWithText(dialog, "OK"));
                pressed = true;
            })
            .Then("closed", Closed(kOptionTitle, &stayed));
        l.RunDialog(script, "HintOption", pressed, stayed);
    }

    static void Version(Life& l)
    {
        DialogScript script("version box");
        bool pressed = false, stayed = false;
        script.Then("shown", [] { return DialogWithTitle(kVersionTitle) != nullptr; })
            .Do("close", [&pressed] {
                PostMessageA(DialogWithTitle(kVersionTitle), WM_COMMAND, IDCANCEL, 0);
                pressed = true;
            })
            .Then("closed", Closed(kVersionTitle, &stayed));
        l.RunDialog(script, "HintVersion", pressed, stayed);
    }

    // The dialog is gone once the clicks posted to it have been handled (its modal loop
    // ends, and this step never comes); one that stays (a half-made dialog whose buttons
    // do nothing) is cancelled, and reported.
    static DialogScript::Step Closed(const char* title, bool* stayed)
    {
        return [title, stayed] {
            if (DialogWithTitle(title) == nullptr) return true;
            if (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) != 0) return false;
            *stayed = true;
            for (HWND dialog : ThreadDialogs()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        };
    }

    void RunDialog(DialogScript& script, const char* command, const bool& pressed, const bool& stayed)
    {
        script.Run([this, command] { m_dll.Command(command); });
        // A dialog that cannot be made may not show at all; one that shows must work.
        if (!m_faulted) {
            EXPECT_TRUE(pressed) << script.Report();
        }
        // A click whose handling failed and was reported leaves the dialog open with nothing
        // stored, for the user to try again; staying for any other reason is a half-made dialog.
        bool reported = std::any_of(Host().log.begin(), Host().log.end(),
                                    [](const zlvnhost::LogLine& l) { return l.text.find(" failed: ") != std::string::npos; });
        EXPECT_TRUE(!stayed || reported) << command << ": the dialog stayed open after its button was pressed";
    }

    static void SetUpRoundOption(Life& l)
    {
        SetUp(l);
        Round(l);
        OptionOk(l);
    }

private:
    PluginDll& m_dll;
    const std::vector<HWND>& m_targets;
    const operation_t& m_op;
    std::unique_ptr<fault::Hooks> m_hooks;
    bool m_faulted = false;      // while the operation runs with its fault armed
    bool m_faultedLife = false;  // a fault was armed in this life
    bool m_measureGdi = false;
};

const operation_t kOperations[] = {
    {"SetUp", false, nullptr, Life::SetUp, false, false, false},
    {"BoxRound", false, Life::SetUp, Life::Round, false, false, true},
    {"BitmapRound", true, Life::SetUp, Life::Round, false, false, true},
    {"SettingsDialogOk", false, Life::SetUp, Life::OptionOk, false, true, true},
    {"VersionBox", false, Life::SetUp, Life::Version, false, false, true},
    {"Teardown", false, Life::SetUpRoundOption, Life::Teardown, true, true, false},
};

// The failure points for an operation that made calls calls of the kind.
std::vector<point_t> Points(Fault fault, long calls)
{
    std::vector<long> starts;  // 0-based positions among the calls
    const char* all = getenv("ZLVN_FAULT_ALL");
    long max = all && *all == '1' ? LONG_MAX : kMaxPoints;
    if (fault == Fault::Creating && max != LONG_MAX) --max;  // room for the all-fail point
    for (long i = 0; i < std::min(calls, max); ++i)
        starts.push_back(calls <= max ? i : i * (calls - 1) / (max - 1));
    std::vector<point_t> points;
    for (long s : starts) points.push_back(fault == Fault::Allocation ? point_t{s + 1, 1} : point_t{s, kCreateStretch});
    if (fault == Fault::Creating && calls > 0) points.push_back(point_t{0, LONG_MAX});
    return points;
}

std::string Describe(Fault fault, const point_t& p, long calls)
{
    if (fault == Fault::Allocation) return "allocation " + std::to_string(p.at) + " of " + std::to_string(calls);
    if (p.count == LONG_MAX) return "every creating call of " + std::to_string(calls);
    return "creating calls " + std::to_string(p.at + 1) + "-" + std::to_string(p.at + p.count) + " of " +
           std::to_string(calls);
}

// Shown by GoogleTest in each entry's name.
void PrintTo(const operation_t& op, std::ostream* out) { *out << op.name; }
void PrintTo(Fault fault, std::ostream* out) { *out << (fault == Fault::Allocation ? "allocations" : "GDI/USER calls"); }

const char* g_point = "";  // the point being tried, for a report of a crash

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e)
{
    fprintf(stderr, "\ncrashed at %s: exception 0x%08lx at %p; failed calls: %s\n", g_point,
            e->ExceptionRecord->ExceptionCode, e->ExceptionRecord->ExceptionAddress,
            fault::Counts().failedCalls.c_str());
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// An exception that left the module ends the process through abort().
void ReportAbort(int)
{
    fprintf(stderr, "\nended at %s; failed calls: %s\n", g_point, fault::Counts().failedCalls.c_str());
    fflush(stderr);
}

class FaultInjection : public ::testing::TestWithParam<std::tuple<operation_t, Fault>> {
protected:
    void SetUp() override
    {
        SetUnhandledExceptionFilter(ReportCrash);
        signal(SIGABRT, ReportAbort);
        for (int i = 0; i < kTargets; ++i) {
            LONG x = 30 + 250 * i, y = 200;
            targets.push_back(MakeTarget(RECT{x, y, x + 220, y + 200}, "faulted"));
        }
    }
    void TearDown() override
    {
        for (HWND target : targets) DestroyWindow(target);
    }

    std::vector<HWND> targets;
};

TEST_P(FaultInjection, EveryFailurePointLeavesAWorkingPlugin)
{
    const operation_t& op = std::get<0>(GetParam());
    const Fault fault = std::get<1>(GetParam());
    PluginDll dll;

    Life normal(dll, targets, op);
    normal.Run(nullptr, nullptr);
    ASSERT_FALSE(HasFailure()) << "the operation fails without any fault";
    long calls = fault == Fault::Allocation ? normal.opAllocations : normal.opCreates;
    printf("[%s] %ld allocations, %ld creating calls; left after a normal life: %d windows, %s\n", op.name,
           normal.opAllocations, normal.opCreates, normal.left.windows, fault::Tally().Describe().c_str());
    EXPECT_GT(calls, 0) << "the operation makes no calls of the kind";

    const char* from = getenv("ZLVN_FAULT_FROM");
    std::vector<point_t> points = Points(fault, calls);
    int tried = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (from && static_cast<long>(i + 1) < atol(from)) continue;
        std::string what = "[" + std::string(op.name) + "] point " + std::to_string(i + 1) + " of " +
                           std::to_string(points.size()) + ": " + Describe(fault, points[i], calls);
        g_point = what.c_str();
        printf("%s\n", what.c_str());
        fflush(stdout);
        SCOPED_TRACE(what);
        Life life(dll, targets, op);
        life.Run(&fault, &points[i]);
        printf("  failed: %s\n", life.failedCalls.c_str());
        ++tried;
        EXPECT_GT(life.failed, 0) << "no call failed";
        EXPECT_LE(life.left.windows, normal.left.windows) << "windows left after teardown";
        EXPECT_LE(life.left.focus, normal.left.focus) << "windows still registered with the host";
        for (int k = 0; k < fault::kKinds; ++k)
            EXPECT_LE(life.left.live[k], normal.left.live[k]) << fault::kKindNames[k] << " left after unloading";
        EXPECT_LE(life.left.strayFrees, normal.left.strayFrees) << "frees of handles not made";
        g_point = "";
    }
    printf("[%s] %d failure points tried\n", op.name, tried);
}

std::string Name(const ::testing::TestParamInfo<std::tuple<operation_t, Fault>>& info)
{
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == Fault::Allocation ? "_Allocations" : "_GdiUser");
}

std::vector<std::tuple<operation_t, Fault>> Entries()
{
    std::vector<std::tuple<operation_t, Fault>> entries;
    for (const operation_t& op : kOperations) {
        entries.emplace_back(op, Fault::Allocation);
        if (op.makes) entries.emplace_back(op, Fault::Creating);
    }
    return entries;
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultInjection, ::testing::ValuesIn(Entries()), Name);

}  // namespace
