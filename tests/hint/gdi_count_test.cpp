// Every pen, brush, font, bitmap and device context the real ZlvnHint.dll makes is
// given back: its import table is pointed at counting wrappers (Wine's GetGuiResources
// answers 0), and the plug-in is driven through its exports over many paints.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "host/zlvn_host.h"
#include "tests/common/import_patch.h"
#include "tests/common/plugin_dll.h"
#include "tests/common/wait.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/hint/hint_fixture.h"

namespace {

enum Kind { kPen, kBrush, kFont, kBitmap, kRegion, kMemoryDc, kWindowDc, kPaintDc, kKinds };
const char* const kKindNames[kKinds] = {"pen",       "brush",     "font",    "bitmap", "region",
                                        "memory DC", "window DC", "paint DC"};

struct tally_t {
    long made = 0, freed = 0;
} g_tally[kKinds];
std::multimap<HANDLE, Kind> g_live;
long g_strayFrees;  // frees of handles not made through the counted calls

template <typename H>
H Made(Kind kind, H handle)
{
    if (handle == nullptr) return handle;
    ++g_tally[kind].made;
    g_live.emplace(handle, kind);
    return handle;
}

// Only a successful free counts: deleting a still-selected object fails, and leaks.
void Freed(HANDLE handle, bool ok, Kind first, Kind last)
{
    if (!ok || handle == nullptr) return;
    auto range = g_live.equal_range(handle);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second < first || it->second > last) continue;
        ++g_tally[it->second].freed;
        g_live.erase(it);
        return;
    }
    ++g_strayFrees;
}

void ResetTally()
{
    for (tally_t& t : g_tally) t = tally_t();
    g_live.clear();
    g_strayFrees = 0;
}

// ---- counting wrappers; each calls the function the import table held ----

template <typename F> struct count_t;
template <typename R, typename... A> struct count_t<R(WINAPI*)(A...)> {
    template <int Id> static inline R(WINAPI* real)(A...) = nullptr;
    template <int Id, Kind K> static R WINAPI Make(A... a) { return Made(K, real<Id>(a...)); }
    // Argument N, a handle of a kind from First to Last, freed.
    template <int Id, size_t N, Kind First, Kind Last = First> static R WINAPI Free(A... a)
    {
        R ok = real<Id>(a...);
        Freed(std::get<N>(std::tie(a...)), ok != 0, First, Last);
        return ok;
    }
};

decltype(&LoadImageA) g_loadImageA;
HANDLE WINAPI CountLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int w, int h, UINT flags)
{
    HANDLE image = g_loadImageA(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
decltype(&EndPaint) g_endPaint;
BOOL WINAPI CountEndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    HDC dc = paint->hdc;
    BOOL ok = g_endPaint(hwnd, paint);
    Freed(dc, true, kPaintDc, kPaintDc);  // EndPaint always answers TRUE
    return ok;
}

struct hook_t {
    const char* dll;
    const char* name;
    void* wrapper;
    void* original;  // where the wrapper finds the real function
};

#define COUNT(dll, fn, how, ...)                                                                       \
    hook_t{dll, #fn, reinterpret_cast<void*>(&count_t<decltype(&fn)>::how<__LINE__, __VA_ARGS__>), \
           reinterpret_cast<void*>(&count_t<decltype(&fn)>::real<__LINE__>)}

const hook_t kHooks[] = {
    COUNT("GDI32.dll", CreatePen, Make, kPen),
    COUNT("GDI32.dll", CreateSolidBrush, Make, kBrush),
    COUNT("GDI32.dll", CreateFontA, Make, kFont),
    COUNT("GDI32.dll", CreateFontIndirectA, Make, kFont),
    COUNT("GDI32.dll", CreateCompatibleBitmap, Make, kBitmap),
    COUNT("GDI32.dll", CreateDIBSection, Make, kBitmap),
    COUNT("GDI32.dll", CreateCompatibleDC, Make, kMemoryDc),
    COUNT("GDI32.dll", CreateRectRgn, Make, kRegion),
    COUNT("GDI32.dll", CreateRoundRectRgn, Make, kRegion),
    // A window region belongs to the system once set: handed over counts as given back.
    COUNT("USER32.dll", SetWindowRgn, Free, 1, kRegion),
    COUNT("GDI32.dll", DeleteObject, Free, 0, kPen, kRegion),
    COUNT("GDI32.dll", DeleteDC, Free, 0, kMemoryDc),
    hook_t{"USER32.dll", "LoadImageA", reinterpret_cast<void*>(CountLoadImageA), &g_loadImageA},
    COUNT("USER32.dll", GetDC, Make, kWindowDc),
    COUNT("USER32.dll", GetWindowDC, Make, kWindowDc),
    COUNT("USER32.dll", ReleaseDC, Free, 1, kWindowDc),
    COUNT("USER32.dll", BeginPaint, Make, kPaintDc),
    hook_t{"USER32.dll", "EndPaint", reinterpret_cast<void*>(CountEndPaint), &g_endPaint},
};

// Each original is filled before any wrapper can run: the module is idle while patched.
std::vector<std::unique_ptr<ImportPatch>> PatchAll(HMODULE module, std::string* hooked)
{
    std::vector<std::unique_ptr<ImportPatch>> patches;
    for (const hook_t& h : kHooks) {
        // A function the plug-in does not import keeps the system's own for the wrapper.
        void* system = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(h.dll), h.name));
        *static_cast<void**>(h.original) = system;
        patches.emplace_back(new ImportPatch(module, h.dll, h.name, h.wrapper));
        if (patches.back()->Patched()) {
            *static_cast<void**>(h.original) = patches.back()->Original();
            *hooked += std::string(hooked->empty() ? "" : " ") + h.name;
        }
    }
    return patches;
}

// Whether a function of the plug-in's imports makes or frees a GDI object or a device
// context that no wrapper counts.
bool UncountedMaker(const std::string& dll, const std::string& name)
{
    for (const hook_t& h : kHooks)
        if (name == h.name) return false;
    static const std::vector<std::string> gdi = {"Create", "ExtCreate", "Delete", "CopyImage"},
        user = {"GetDC", "GetWindowDC", "ReleaseDC", "LoadImage", "LoadBitmap", "CopyImage", "BeginPaint"};
    for (const std::string& prefix : dll == "GDI32.dll" ? gdi : user)
        if (name.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

constexpr int kTargets = 6;
constexpr int kRepaints = 1000;
constexpr int kActivations = 100;
constexpr int kSwatchRounds = 50;

struct counted_case_t {
    const char* name;
    bool useBitmap;
    // Drives the loaded plug-in; the targets are the windows the host may list.
    void (*drive)(const PluginDll& dll, std::vector<HWND>& targets);
    struct { Kind kind; long made; } atLeast;  // so that a case that silently did nothing fails
};

void ListTargets(const std::vector<HWND>& targets, int first, int count)
{
    zlvnhost::Host().list.clear();
    for (int i = 0; i < count; ++i) {
        HWND target = targets[(first + i) % targets.size()];
        char text[16];
        snprintf(text, sizeof text, "W%d", static_cast<int>((first + i) % targets.size()));
        zlvnhost::AddListItem(target, text);
    }
}

// The listed windows' hint popups that exist.
std::vector<HWND> Popups()
{
    std::vector<HWND> popups;
    for (const ZlvnList& item : zlvnhost::Host().list) {
        HWND popup = FindWindowA(ClassOf(item.hwnd).c_str(), nullptr);
        if (popup) popups.push_back(popup);
    }
    return popups;
}

// Repaints a window and waits until its paint has ended.
bool Repaint(HWND hwnd)
{
    long painted = g_tally[kPaintDc].freed;
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    return PumpUntil([painted] { return g_tally[kPaintDc].freed > painted; });
}

void Repaints(const PluginDll& dll, std::vector<HWND>& targets)
{
    ListTargets(targets, 0, 3);
    dll.Call("Zlvn_OnActive");
    std::vector<HWND> popups = Popups();
    ASSERT_EQ(3u, popups.size()) << "hints shown";
    for (int i = 0; i < kRepaints; ++i) ASSERT_TRUE(Repaint(popups[i % popups.size()])) << "repaint " << i;
    dll.Call("Zlvn_OnInactive");
}

HWND CountedTarget(int i)
{
    LONG x = 40 + 200 * (i % 3), y = 60 + 250 * (i / 3 % 2);
    return MakeTarget(RECT{x, y, x + 180, y + 200}, "counted");
}

void Activations(const PluginDll& dll, std::vector<HWND>& targets)
{
    for (int i = 0; i < kActivations; ++i) {
        // Now and then a listed window closes and another opens.
        if (i % 10 == 9) {
            DestroyWindow(targets[i % targets.size()]);
            targets[i % targets.size()] = CountedTarget(i);
        }
        // A window list that moves on by one and grows and shrinks: hints are made and destroyed.
        int count = 1 + i % 4;
        ListTargets(targets, i, count);
        long painted = g_tally[kPaintDc].freed;
        dll.Call("Zlvn_OnActive");
        ASSERT_TRUE(PumpUntil([&] {
            std::vector<HWND> popups = Popups();
            for (HWND popup : popups)
                if (!IsWindowVisible(popup)) return false;
            return popups.size() == static_cast<size_t>(count) && g_tally[kPaintDc].freed >= painted + count;
        })) << "activation " << i;
        dll.Call("Zlvn_OnInactive");
    }
}

// Windows below parent of this class (in any letter case) and, unless null, this text.
std::vector<HWND> Children(HWND parent, const char* cls, const char* text = nullptr)
{
    return ChildWindows(parent, [cls, text](HWND hwnd) {
        return _stricmp(ClassName(hwnd).c_str(), cls) == 0 && (text == nullptr || WindowText(hwnd) == text);
    });
}

// The settings dialog: its colour swatches repainted, then the picture chooser's preview
// of a bitmap file; every form font and the preview's picture go with the dialog.
void SettingsDialog(const PluginDll& dll, std::vector<HWND>&)
{
    const char* title = "ダイアログ";
    // The chooser opens in the folder of the current picture, the module's own.
    std::string picture = "bgnml.bmp";
    CopyFileA((ProgramDir() + "\\" + picture).c_str(), dll.Dir().File(picture).c_str(), FALSE);
    auto chooser = [] { return DialogWithControl(cmb13); };
    auto previewPage = [chooser] {
        std::vector<HWND> preview = Children(chooser(), "Static");
        for (HWND hwnd : preview)
            if (GetDlgCtrlID(hwnd) == 1200) return GetParent(hwnd);
        return HWND();
    };
    long bitmaps = 0;
    DialogScript script("settings dialog");
    script.Then("shown", [title] { return DialogWithTitle(title) != nullptr; })
        .Do("swatches repainted", [title] {
            std::vector<HWND> swatches = Children(DialogWithTitle(title), "ZlvnColorSwatch");
            ASSERT_EQ(4u, swatches.size());
            for (int i = 0; i < kSwatchRounds; ++i)
                for (HWND swatch : swatches) ASSERT_TRUE(Repaint(swatch)) << "swatch repaint " << i;
        })
        .Do("browse", [title] {
            std::vector<HWND> browse = Children(DialogWithTitle(title), "Button", "参照(&N)");
            ASSERT_FALSE(browse.empty());
            PostMessageA(GetParent(browse[0]), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(browse[0]), BN_CLICKED),
                         reinterpret_cast<LPARAM>(browse[0]));
        })
        .Then("chooser with its preview", [previewPage] { return previewPage() != nullptr; })
        .Do("a picture selected", [chooser, previewPage, &picture, &bitmaps] {
            // The file list's own selection notice, as a click in the list sends it.
            SendMessageA(chooser(), CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(picture.c_str()));
            OFNOTIFYA note = {};
            note.hdr.hwndFrom = chooser();
            note.hdr.code = CDN_SELCHANGE;
            bitmaps = g_tally[kBitmap].made;
            SendMessageA(previewPage(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
        })
        .Then("preview painted", [&bitmaps] {
            return g_tally[kBitmap].made > bitmaps && g_tally[kMemoryDc].freed > 0;
        })
        .Do("chooser cancelled", [chooser] { PostMessageA(chooser(), WM_COMMAND, IDCANCEL, 0); })
        .Then("chooser closed", [chooser] { return chooser() == nullptr; })
        .Do("dialog cancelled", [title] { PostMessageA(DialogWithTitle(title), WM_COMMAND, IDCANCEL, 0); });
    script.Run([&dll] { dll.Command("HintOption"); });
    EXPECT_TRUE(script.Completed()) << script.Report();
}

// The version box: made once and kept, so its fonts and picture go when the module does.
void VersionBox(const PluginDll& dll, std::vector<HWND>&)
{
    const char* title = "バージョン情報";
    for (int i = 0; i < 2; ++i) {
        DialogScript script("version box");
        script.Then("shown", [title] { return DialogWithTitle(title) != nullptr; })
            .Do("closed", [title] { PostMessageA(DialogWithTitle(title), WM_COMMAND, IDCANCEL, 0); });
        script.Run([&dll] { dll.Command("HintVersion"); });
        EXPECT_TRUE(script.Completed()) << script.Report();
    }
}

const counted_case_t kCases[] = {
    {"box repaints", false, Repaints, {kRegion, kRepaints}},
    {"bitmap repaints", true, Repaints, {kBitmap, kRepaints}},
    {"activations", false, Activations, {kWindowDc, kActivations}},
    {"settings dialog", false, SettingsDialog, {kBrush, 4 * kSwatchRounds}},
    {"version box", false, VersionBox, {kFont, 2}},
};

TEST(GdiCount, EveryObjectAndDeviceContextIsGivenBack)
{
    for (const counted_case_t& c : kCases) {
        SCOPED_TRACE(c.name);
        zlvnhost::ResetHost();
        std::vector<HWND> targets;
        for (int i = 0; i < kTargets; ++i) targets.push_back(CountedTarget(i));
        ResetTally();
        {
            PluginDll dll;
            if (c.useBitmap) {
                WriteWholeFile(dll.Dir().File("ZlvnHint.ini"),
                               "[Form]\r\nIsUseBmp=1\r\nBgNormal=" + ProgramDir() + "\\bgnml.bmp\r\nBgIconic=" +
                                   ProgramDir() + "\\bgicn.bmp\r\n");
            }
            ASSERT_TRUE(dll.Load()) << "error " << dll.Error();
            std::string hooked;
            // Left in place through the unloading: the module's last frees are counted too.
            std::vector<std::unique_ptr<ImportPatch>> patches = PatchAll(dll.Module(), &hooked);
            dll.OnSetup();
            c.drive(dll, targets);
            dll.OnTeardown();
            if (&c == kCases) {
                printf("counted calls: %s\n", hooked.c_str());
                for (const char* from : {"GDI32.dll", "USER32.dll"})
                    for (const std::string& name : ImportedNames(dll.Module(), from))
                        EXPECT_FALSE(UncountedMaker(from, name)) << from << "!" << name << " is not counted";
            }
            dll.Unload();
        }
        printf("[%s]", c.name);
        for (int k = 0; k < kKinds; ++k) {
            printf(" %s %ld/%ld%s", kKindNames[k], g_tally[k].made, g_tally[k].freed, k + 1 < kKinds ? "," : "");
            EXPECT_EQ(g_tally[k].made, g_tally[k].freed) << kKindNames[k] << ": made / given back";
        }
        printf(" (made/given back)\n");
        EXPECT_TRUE(g_live.empty()) << g_live.size() << " handles left";
        EXPECT_EQ(0, g_strayFrees) << "frees of handles that were not counted as made";
        EXPECT_GE(g_tally[c.atLeast.kind].made, c.atLeast.made) << kKindNames[c.atLeast.kind] << " made";
        for (HWND target : targets) DestroyWindow(target);
    }
}

}  // namespace
