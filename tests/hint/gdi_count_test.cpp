// Every pen, brush, font, bitmap, region and device context the real ZlvnHint.dll makes is
// given back, counted by fault_hooks through its import table (Wine's GetGuiResources
// answers 0) while the plug-in is driven through its exports over many paints.
#include "tests/common/fault_hooks.h"
#include "tests/common/dialog_driver.h"  // the choosers' control ids too
#include "tests/hint/hint_fixture.h"

namespace {

using fault::Counts;
constexpr int kTargets = 6, kRepaints = 1000, kActivations = 100, kSwatchRounds = 50;

// Lists count windows from the first; answers the listed windows' hint popups that exist.
std::vector<HWND> List(const std::vector<HWND>& targets, int first = 0, int count = 0)
{
    if (count) zlvnhost::Host().list.clear();
    for (int i = first; i < first + count; ++i)
        zlvnhost::AddListItem(targets[i % kTargets], ("W" + std::to_string(i % kTargets)).c_str());
    std::vector<HWND> popups;
    for (const ZlvnList& item : zlvnhost::Host().list)
        if (HWND popup = FindWindowA(ClassOf(item.hwnd).c_str(), nullptr)) popups.push_back(popup);
    return popups;
}

long Painted() { return Counts().freed[fault::kPaintDc]; }

// Repaints a window and waits until its paint has ended.
bool Repaint(HWND hwnd)
{
    long painted = Painted();
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    return PumpUntil([painted] { return Painted() > painted; });
}

void Repaints(const PluginDll& dll, std::vector<HWND>& targets)
{
    List(targets, 0, 3);
    dll.Call("Zlvn_OnActive");
    std::vector<HWND> popups = List(targets);
    ASSERT_EQ(3u, popups.size()) << "hints shown";
    for (int i = 0; i < kRepaints; ++i) ASSERT_TRUE(Repaint(popups[i % 3])) << "repaint " << i;
    dll.Call("Zlvn_OnInactive");
}

HWND CountedTarget(int i)
{
    LONG x = 40 + 200 * (i % 3), y = 60 + 250 * (i / 3 % 2);
    return MakeTarget(RECT{x, y, x + 180, y + 200}, "counted");
}

// Hints made and destroyed: the list moves on by one, grows and shrinks, and now and then a
// listed window closes and another opens.
void Activations(const PluginDll& dll, std::vector<HWND>& targets)
{
    for (int i = 0; i < kActivations; ++i) {
        if (i % 10 == 9) DestroyWindow(targets[i % kTargets]), targets[i % kTargets] = CountedTarget(i);
        size_t count = 1 + i % 4;
        List(targets, i, int(count));
        long painted = Painted();
        dll.Call("Zlvn_OnActive");
        ASSERT_TRUE(PumpUntil([&] {
            std::vector<HWND> popups = List(targets);
            return popups.size() == count && Painted() >= painted + long(count) &&
                   std::all_of(popups.begin(), popups.end(), IsWindowVisible);
        })) << "activation " << i;
        dll.Call("Zlvn_OnInactive");
    }
}

// The settings dialog: its colour swatches repainted, then the picture chooser's preview of
// a bitmap file; every form font and the preview's picture go with the dialog.
void SettingsDialog(const PluginDll& dll, std::vector<HWND>&)
{
    static const char title[] = "ダイアログ";
    // The chooser opens in the folder of the current picture, the module's own.
    CopyFileA((ProgramDir() + "\\bgnml.bmp").c_str(), dll.Dir().File("bgnml.bmp").c_str(), FALSE);
    auto chooser = [] { return DialogWithControl(cmb13); };
    auto previewPage = [chooser] {
        std::vector<HWND> preview = ChildWindows(chooser(), [](HWND w) { return GetDlgCtrlID(w) == 1200; });
        return preview.empty() ? HWND() : GetParent(preview[0]);
    };
    long bitmaps = 0;
    DialogScript script("settings dialog");
    script.Then("shown", [] { return DialogWithTitle(title) != nullptr; })
        .Do("swatches repainted", [] {
            std::vector<HWND> swatches = ChildWindows(DialogWithTitle(title), [](HWND w) {
                return _stricmp(ClassName(w).c_str(), "ZlvnColorSwatch") == 0;
            });
            ASSERT_EQ(4u, swatches.size());
            for (int i = 0; i < kSwatchRounds; ++i)
                for (HWND swatch : swatches) ASSERT_TRUE(Repaint(swatch)) << "swatch repaint " << i;
        })
        .Do("browse", [] {
            HWND browse = ChildWithText(DialogWithTitle(title), "参照(&N)");
            ASSERT_TRUE(browse);
            PostMessageA(GetParent(browse), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(browse), BN_CLICKED), LPARAM(browse));
        })
        .Then("chooser with its preview", [previewPage] { return previewPage() != nullptr; })
        .Do("a picture selected", [chooser, previewPage, &bitmaps] {
            // The file list's own selection notice, as a click in the list sends it.
            SendMessageA(chooser(), CDM_SETCONTROLTEXT, cmb13, LPARAM("bgnml.bmp"));
            OFNOTIFYA note = {{chooser(), 0, UINT(CDN_SELCHANGE)}, nullptr, nullptr};
            bitmaps = Counts().made[fault::kBitmap];
            SendMessageA(previewPage(), WM_NOTIFY, 0, LPARAM(&note));
        })
        .Then("preview painted",
              [&bitmaps] { return Counts().made[fault::kBitmap] > bitmaps && Counts().freed[fault::kMemoryDc] > 0; })
        .InDialog("chooser cancelled", cmb13, [](HWND chooser) { PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0); })
        .Do("dialog cancelled", [] { PostMessageA(DialogWithTitle(title), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(script.Run([&dll] { dll.Command("HintOption"); })) << script.Report();
}

// The version box: made once and kept, so its fonts and picture go when the module does.
void VersionBox(const PluginDll& dll, std::vector<HWND>&)
{
    static const char title[] = "バージョン情報";
    for (int i = 0; i < 2; ++i) {
        DialogScript script("version box");
        EXPECT_TRUE(script.Then("shown", [] { return DialogWithTitle(title) != nullptr; })
                        .Do("closed", [] { PostMessageA(DialogWithTitle(title), WM_COMMAND, IDCANCEL, 0); })
                        .Run([&dll] { dll.Command("HintVersion"); }))
            << script.Report();
    }
}

BOOL WINAPI RefuseRegion(HWND, HRGN, BOOL) { return FALSE; }

// The system refuses every window region: each one made is given back all the same.
void RefusedRegions(const PluginDll& dll, std::vector<HWND>& targets)
{
    ImportPatch refuse(dll.Module(), "USER32.dll", "SetWindowRgn", reinterpret_cast<void*>(RefuseRegion));
    Activations(dll, targets);
}

// Each case makes at least made of kind, so that one that silently did nothing fails.
using drive_t = void (*)(const PluginDll& dll, std::vector<HWND>& targets);
const struct { const char* name; bool useBitmap; drive_t drive; fault::Kind kind; long made; } kCases[] = {
    {"box repaints", false, Repaints, fault::kRegion, kRepaints},
    {"bitmap repaints", true, Repaints, fault::kMemoryDc, kRepaints},  // the pictures themselves read once
    {"activations", false, Activations, fault::kWindowDc, kActivations},
    {"activations, every window region refused", false, RefusedRegions, fault::kRegion, kActivations},
    {"settings dialog", false, SettingsDialog, fault::kBrush, 4 * kSwatchRounds},
    {"version box", false, VersionBox, fault::kFont, 2},
};

// What makes or gives back a GDI object, a device context, a window or a class, by prefix.
const std::pair<const char*, std::vector<std::string>> kMakers[] = {
    {"GDI32.dll", {"Create", "ExtCreate", "Delete"}},
    {"USER32.dll", {"GetDC", "GetWindowDC", "ReleaseDC", "LoadImage", "LoadBitmap", "CopyImage", "BeginPaint",
                    "CreateWindow", "RegisterClass"}}};

TEST(GdiCount, EveryObjectAndDeviceContextIsGivenBack)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        zlvnhost::ResetHost();
        std::vector<HWND> targets;
        for (int i = 0; i < kTargets; ++i) targets.push_back(CountedTarget(i));
        {
            PluginDll dll;
            std::string dir = ProgramDir(), file = "[Form]\r\nIsUseBmp=1\r\nBgNormal=" + dir + "\\bgnml.bmp\r\n";
            if (c.useBitmap) WriteWholeFile(dll.Dir().File("ZlvnHint.ini"), file + "BgIconic=" + dir + "\\bgicn.bmp\r\n");
            ASSERT_TRUE(dll.Load()) << "error " << dll.Error();
            fault::Hooks hooks(dll.Module());  // destroyed after the unloading: the last frees count too
            fault::ResetCounts();
            dll.OnSetup();
            c.drive(dll, targets);
            dll.OnTeardown();
            if (&c == kCases) printf("counted calls: %s\n", hooks.hooked.c_str());
            for (const auto& [from, prefixes] : kMakers)
                for (const std::string& name : ImportedNames(dll.Module(), from))
                    for (const std::string& prefix : prefixes)
                        EXPECT_FALSE(name.rfind(prefix, 0) == 0 && (" " + hooks.hooked + " ").find(" " + name + " ") == std::string::npos)
                            << from << "!" << name << " is not counted";
            dll.Unload();
        }
        printf("[%s] %s\n", c.name, Counts().Describe().c_str());
        for (int k = 0; k < fault::kKinds; ++k)
            EXPECT_EQ(Counts().made[k], Counts().freed[k]) << fault::kKindNames[k] << ": made / given back";
        EXPECT_TRUE(Counts().live.empty()) << Counts().live.size() << " handles left";
        EXPECT_EQ(0, Counts().strayFrees) << "frees of handles that were not counted as made";
        EXPECT_GE(Counts().made[c.kind], c.made) << fault::kKindNames[c.kind] << " made";
        for (HWND target : targets) DestroyWindow(target);
    }
}

}  // namespace
