// Fault injection through the real ZlvnHint.dll's import table. Each operation runs once
// normally, counting its allocations and creating GDI/USER calls, then once per failure
// point with that fault armed: the n-th allocation fails and no other, or a stretch of
// creating calls fails. After each faulted run the process lives, no more GDI objects or
// windows are left than after the normal run, and once nothing fails the plug-in works:
// a round shows every listed window one painted hint, teardown keeps every settings value.
#include <csignal>

#include "plugin/records/setting_keys.h"
#include "tests/common/fault_hooks.h"
#include "tests/common/dialog_driver.h"  // GoogleTest, the host, the DLL, target and hint windows

namespace {

using zlvnhost::Host;

// At most this many failure points per operation, spread evenly; ZLVN_FAULT_ALL=1 tries all,
// ZLVN_FAULT_FROM=n starts at point n (to go on past one that ended the process).
constexpr long kMaxPoints = 64;
constexpr long kStretch = 3;  // creating calls fail this many at a time (and once, all of them)
const COLORREF kBoxFill = RGB(0x12, 0xc4, 0x56), kBitmapFill = RGB(0x5a, 0x21, 0xb4);

// No key at its default but Enable (the hints must show); the empty ones are filled per operation.
const char* const kFile[][3] = {
    {"General", "Enable", "1"}, {"Form", "Pos", "1"}, {"Form", "Contents", "1"}, {"Form", "Width", "48"},
    {"Form", "IsUseBmp", ""}, {"Form", "NmlBorderColor", "0x0000ff"}, {"Form", "NmlBgColor", "0x12c456"},
    {"Form", "MinBorderColor", "0xff0000"}, {"Form", "MinBgColor", "0x00ff00"}, {"Form", "BgNormal", ""},
    {"Form", "BgIconic", ""}, {"Form", "FontName", "Courier New"}, {"Form", "FontSize", "12"},
    {"Form", "FontStyle", "1"}, {"Form", "FontColor", "0x202020"}, {"Form", "IsNoOver", "0"},
    {"Form", "IsShowIcon", "0"}, {"ShortcutKey", "ToggleEnable", "Ctrl+Alt+H"}};
static_assert(sizeof kFile / sizeof kFile[0] == kSettingKeyCount, "a value for every key");

// What is left over after teardown (windows) and unloading (GDI objects, by kind).
const char* const kLeft[] = {"windows of the module", "windows registered with the host", "pens", "brushes", "fonts",
                             "bitmaps", "regions", "memory DCs", "window DCs", "paint DCs", "frees of handles not made"};

struct Life;
// before runs normally, run with the fault armed; endsLife: teardown, after which the plug-in
// must work in a fresh life; movesPos: OK with another position, which Pos may hold after a
// fault; makes: GDI objects or windows, so that failing GDI/USER calls are tried too.
struct operation_t {
    const char* name;
    bool bitmap;  // the settings file asks for the bitmap background
    void (*before)(Life&), (*run)(Life&);
    bool endsLife, movesPos, makes;
};

// One life of the plug-in from loading to unloading.
struct Life {
    Life(PluginDll& d, const operation_t& o, const std::vector<HWND>& t) : dll(d), op(o), targets(t) {}
    PluginDll& dll;
    const operation_t& op;
    const std::vector<HWND>& targets;
    bool faulted = false;  // the operation runs with its fault armed
    std::unique_ptr<fault::Hooks> hooks;
    long allocations = 0, creates = 0, failed = 0;  // the operation's
    std::string failedCalls;
    std::vector<long> left;  // as kLeft names them

    std::string Value(const char* const* v) const
    {
        std::string key = v[1];
        if (key == "IsUseBmp") return op.bitmap ? "1" : "0";
        return key == "BgNormal" ? dll.Dir().File("fill.bmp") : key == "BgIconic" ? dll.Dir().File("iconic.bmp") : v[2];
    }

    bool Start(bool freshFile)
    {
        zlvnhost::ResetHost();
        std::string file, section;
        for (const auto& v : kFile)
            file += (section != v[0] ? "[" + (section = v[0]) + "]\r\n" : "") + v[1] + "=" + Value(v) + "\r\n";
        if (freshFile) WriteWholeFile(dll.Dir().File("ZlvnHint.ini"), file);
        WriteBitmapFile(dll.Dir().File("fill.bmp"), std::vector<COLORREF>(4, kBitmapFill), 4);
        bool loaded = dll.Load();
        EXPECT_TRUE(loaded) << "error " << dll.Error();
        if (loaded) hooks.reset(new fault::Hooks(dll.Module())), fault::ResetCounts();
        return loaded;
    }

    void Stop(bool measure)
    {
        HMODULE module = dll.Module();
        auto ofModule = [module](HWND w) { return HMODULE(GetWindowLongPtrA(w, GWLP_HINSTANCE)) == module; };
        if (measure) left = {long(ThreadWindows(ofModule).size()), long(Host().focusWindows.size())};
        dll.Unload();
        hooks.reset();  // after the unloading, so that its frees count
        const fault::counts_t& counts = fault::Counts();
        for (int k = 0; measure && k < fault::kKinds; ++k) left.push_back(counts.made[k] - counts.freed[k]);
        if (measure) left.push_back(counts.strayFrees);
    }

    void Run(const fault::fault_t* armed)
    {
        faulted = armed != nullptr;
        if (!Start(true)) return;
        if (op.before) op.before(*this);
        const fault::counts_t& counts = fault::Counts();
        long allocated = counts.calls[fault::kAllocations], created = counts.calls[fault::kCreatingCalls];
        if (armed) fault::Arm(*armed);
        op.run(*this);
        fault::NoFaults();
        allocations = counts.calls[fault::kAllocations] - allocated, creates = counts.calls[fault::kCreatingCalls] - created;
        failed = counts.failed, failedCalls = counts.failedCalls;
        faulted = false;
        if (op.endsLife) {
            Stop(true);
            if (!Start(false)) return;
            dll.OnSetup();
        }
        Round(*this);
        dll.OnTeardown();
        for (const auto& v : kFile) {  // Pos as the dialog set it, or either after a fault
            char value[300] = {};
            GetPrivateProfileStringA(v[0], v[1], "(missing)", value, sizeof value, dll.Dir().File("ZlvnHint.ini").c_str());
            bool moved = op.movesPos && v[1] == std::string("Pos") && (!armed || Value(v) != value);
            EXPECT_EQ(moved ? "3" : Value(v), value) << "[" << v[0] << "] " << v[1] << " after teardown";
        }
        Stop(!op.endsLife);
    }

    static void SetUp(Life& l) { l.dll.OnSetup(); }
    static void Teardown(Life& l) { l.dll.OnTeardown(); }

    // Shown over three windows, the list changed to four while shown, every hint repainted, hidden.
    static void Round(Life& l)
    {
        for (int first : {0, 1}) {
            Host().list.clear();
            for (int i = first; i < 3 + 2 * first; ++i)
                zlvnhost::AddListItem(l.targets[i % l.targets.size()], ("Window " + std::to_string(i)).c_str());
            l.dll.Call(first ? "Zlvn_OnUpdateList" : "Zlvn_OnActive");
        }
        for (HWND popup : std::vector<HWND>(Host().focusWindows)) InvalidateRect(popup, nullptr, TRUE), UpdateWindow(popup);
        // Every listed window has exactly one hint, visible and painted in its fill colour.
        auto expectHints = [fill = l.op.bitmap ? kBitmapFill : kBoxFill] {
            for (const ZlvnList& item : Host().list) {
                std::vector<HWND> popups = ThreadWindows([&](HWND w) { return ClassName(w) == ClassOf(item.hwnd); });
                ASSERT_EQ(1u, popups.size()) << "hints of '" << item.text << "'";
                RECT r = WindowRect(popups[0]);
                ASSERT_TRUE(IsWindowVisible(popups[0]) && WaitForScreen(r)) << "hint of '" << item.text << "'";
                EXPECT_TRUE(ScreenPixels(r).Contains(fill)) << "hint of '" << item.text << "' shows " << ColourText(fill);
            }
            EXPECT_EQ(Host().list.size(), size_t(HintPopups().visible)) << Describe(HintPopups());
        };
        if (!l.faulted) expectHints();
        l.dll.Call("Zlvn_OnInactive");
    }

    // Shows a dialog and presses its button. One that cannot be made need not show; one that
    // stays once the posted clicks are handled is cancelled, and must have reported a failed
    // click (nothing stored, for the user to try again), else it is half made.
    void Dialog(const char* title, const char* command, void (*press)(HWND))
    {
        bool pressed = false, stayed = false;
        DialogScript script(title);
        script.Then("shown", [title] { return DialogWithTitle(title) != nullptr; })
            .Do("pressed", [&] { press(DialogWithTitle(title)), pressed = true; })
            .Then("closed", [&] {
                if (DialogWithTitle(title) == nullptr) return true;
                if (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) != 0) return false;
                for (HWND dialog : ThreadDialogs()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return stayed = true;
            });
        script.Run([&] { dll.Command(command); });
        EXPECT_TRUE(faulted || pressed) << script.Report();
        bool reported = std::any_of(Host().log.begin(), Host().log.end(),
                                    [](const zlvnhost::LogLine& line) { return line.text.find(" failed: ") != std::string::npos; });
        EXPECT_TRUE(!stayed || reported) << command << ": the dialog stayed open after its button was pressed";
    }
    // The settings dialog: another position (Pos 3; the file says 1), then OK.
    static void OptionOk(Life& l)
    {
        l.Dialog("ダイアログ", "HintOption", [](HWND dialog) {
            PostClick(ChildWithText(dialog, "各アプリの中央(&4)"));
            PostClick(ChildWithText(dialog, "OK"));
        });
    }
    static void Version(Life& l)
    {
        l.Dialog("バージョン情報", "HintVersion", [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    }
    // OK while another program holds the file: its change is left for teardown to write.
    static void SetUpRoundOption(Life& l)
    {
        SetUp(l);
        Round(l);
        const std::string ini = l.dll.Dir().File("ZlvnHint.ini");
        HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        OptionOk(l);
        CloseHandle(held);
    }
};

const operation_t kOperations[] = {
    {"SetUp", false, nullptr, Life::SetUp, false, false, false},
    {"BoxRound", false, Life::SetUp, Life::Round, false, false, true},
    {"BitmapRound", true, Life::SetUp, Life::Round, false, false, true},
    {"SettingsDialogOk", false, Life::SetUp, Life::OptionOk, false, true, true},
    {"VersionBox", false, Life::SetUp, Life::Version, false, false, true},
    {"Teardown", false, Life::SetUpRoundOption, Life::Teardown, true, true, false},
};

// A crash (an exception that left the module) or an abort() names the point being tried.
std::string g_point;
void Report(const char* how) { fprintf(stderr, "\n%s at %s; failed calls: %s\n", how, g_point.c_str(), fault::Counts().failedCalls.c_str()); }
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e)
{
    char what[32];
    snprintf(what, sizeof what, "exception 0x%08lx", e->ExceptionRecord->ExceptionCode);
    Report(what);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

struct entry_t { const operation_t* op; fault::Family fault; };
// Shown with each entry's name in the test list, as "(SetUp, allocations)".
void PrintTo(const entry_t& e, std::ostream* out)
{
    *out << "(" << e.op->name << ", " << (e.fault == fault::kAllocations ? "allocations)" : "GDI/USER calls)");
}

class FaultInjection : public ::testing::TestWithParam<entry_t> {};

TEST_P(FaultInjection, EveryFailurePointLeavesAWorkingPlugin)
{
    const operation_t& op = *GetParam().op;
    const fault::Family family = GetParam().fault;
    SetUnhandledExceptionFilter(ReportCrash);
    signal(SIGABRT, [](int) { Report("aborted"); });
    std::vector<HWND> targets;
    for (LONG x = 30; x < 1280; x += 250) targets.push_back(MakeTarget(RECT{x, 200, x + 220, 400}, "faulted"));
    PluginDll dll;
    // The module stays mapped between lives (it pins itself), so what the runtime inside it
    // makes once per process is made by a first life; the second counts what each life makes.
    Life(dll, op, targets).Run(nullptr);
    Life normal(dll, op, targets);
    normal.Run(nullptr);
    ASSERT_FALSE(HasFailure()) << "the operation fails without any fault";
    long calls = family == fault::kAllocations ? normal.allocations : normal.creates;
    printf("[%s] %ld allocations, %ld creating calls; left after a normal life: %ld windows, %s\n", op.name,
           normal.allocations, normal.creates, normal.left[0], fault::Counts().Describe().c_str());
    EXPECT_GT(calls, 0) << "the operation makes no calls of the kind";

    // 0-based among the calls; for creating calls also one where all fail.
    const char *all = getenv("ZLVN_FAULT_ALL"), *from = getenv("ZLVN_FAULT_FROM");
    long max = all && *all == '1' ? LONG_MAX : kMaxPoints - (family == fault::kCreatingCalls);
    std::vector<fault::fault_t> points;
    for (long i = 0; i < std::min(calls, max); ++i) {
        long skip = calls <= max ? i : i * (calls - 1) / (max - 1);
        points.push_back({family, skip, family == fault::kAllocations ? 1 : kStretch});
    }
    if (family == fault::kCreatingCalls && calls > 0) points.push_back({family, 0, LONG_MAX});
    size_t first = from ? std::max(atol(from), 1L) - 1 : 0;
    for (size_t i = first; i < points.size(); ++i) {
        const fault::fault_t& p = points[i];
        std::string what = family == fault::kAllocations ? "allocation " + std::to_string(p.skip + 1)
                           : p.count == LONG_MAX         ? "every creating call"
                                                         : "creating calls " + std::to_string(p.skip + 1) + "-" + std::to_string(p.skip + p.count);
        g_point = "[" + std::string(op.name) + "] point " + std::to_string(i + 1) + " of " + std::to_string(points.size()) +
                  ": " + what + " of " + std::to_string(calls);
        printf("%s\n", g_point.c_str());
        fflush(stdout);
        SCOPED_TRACE(g_point);
        Life life(dll, op, targets);
        life.Run(&p);
        printf("  failed: %s\n", life.failedCalls.c_str());
        EXPECT_GT(life.failed, 0) << "no call failed";
        for (size_t k = 0; k < life.left.size(); ++k) EXPECT_LE(life.left[k], normal.left[k]) << kLeft[k] << " left over";
    }
    g_point.clear();
    printf("[%s] %zu failure points tried\n", op.name, points.size() - std::min(first, points.size()));
    for (HWND target : targets) DestroyWindow(target);
}

std::vector<entry_t> Entries()
{
    std::vector<entry_t> entries;
    for (const operation_t& op : kOperations) {
        entries.push_back({&op, fault::kAllocations});
        if (op.makes) entries.push_back({&op, fault::kCreatingCalls});
    }
    return entries;
}
INSTANTIATE_TEST_SUITE_P(Operations, FaultInjection, ::testing::ValuesIn(Entries()), [](const auto& info) {
    return info.param.op->name + std::string(info.param.fault == fault::kAllocations ? "_Allocations" : "_GdiUser");
});

}  // namespace
