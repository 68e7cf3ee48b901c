// Every pen, brush, font, bitmap and device context the real ZlvnHint.dll makes is
// given back: its import table is pointed at counting wrappers (Wine's GetGuiResources
// answers 0), and the plug-in is driven through its exports over many paints.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
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
    long made = 0;
    long freed = 0;
};
tally_t g_tally[kKinds];
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

struct originals_t {
    decltype(&CreatePen) createPen;
    decltype(&CreateSolidBrush) createSolidBrush;
    decltype(&CreateFontA) createFontA;
    decltype(&CreateFontIndirectA) createFontIndirectA;
    decltype(&CreateCompatibleBitmap) createCompatibleBitmap;
    decltype(&CreateDIBSection) createDIBSection;
    decltype(&CreateCompatibleDC) createCompatibleDC;
    decltype(&CreateRectRgn) createRectRgn;
    decltype(&CreateRoundRectRgn) createRoundRectRgn;
    decltype(&SetWindowRgn) setWindowRgn;
    decltype(&DeleteObject) deleteObject;
    decltype(&DeleteDC) deleteDC;
    decltype(&LoadImageA) loadImageA;
    decltype(&GetDC) getDC;
    decltype(&GetWindowDC) getWindowDC;
    decltype(&ReleaseDC) releaseDC;
    decltype(&BeginPaint) beginPaint;
    decltype(&EndPaint) endPaint;
} g_real;

HPEN WINAPI CountCreatePen(int style, int width, COLORREF colour)
{
    return Made(kPen, g_real.createPen(style, width, colour));
}
HBRUSH WINAPI CountCreateSolidBrush(COLORREF colour) { return Made(kBrush, g_real.createSolidBrush(colour)); }
HFONT WINAPI CountCreateFontA(int h, int w, int esc, int orient, int weight, DWORD italic, DWORD underline,
                              DWORD strike, DWORD charset, DWORD out, DWORD clip, DWORD quality, DWORD pitch,
                              LPCSTR face)
{
    return Made(kFont, g_real.createFontA(h, w, esc, orient, weight, italic, underline, strike, charset, out, clip,
                                          quality, pitch, face));
}
HFONT WINAPI CountCreateFontIndirectA(const LOGFONTA* font) { return Made(kFont, g_real.createFontIndirectA(font)); }
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int h)
{
    return Made(kBitmap, g_real.createCompatibleBitmap(dc, w, h));
}
HBITMAP WINAPI CountCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset)
{
    return Made(kBitmap, g_real.createDIBSection(dc, info, usage, bits, section, offset));
}
HDC WINAPI CountCreateCompatibleDC(HDC dc) { return Made(kMemoryDc, g_real.createCompatibleDC(dc)); }
HRGN WINAPI CountCreateRectRgn(int l, int t, int r, int b) { return Made(kRegion, g_real.createRectRgn(l, t, r, b)); }
HRGN WINAPI CountCreateRoundRectRgn(int l, int t, int r, int b, int w, int h)
{
    return Made(kRegion, g_real.createRoundRectRgn(l, t, r, b, w, h));
}
// A window region belongs to the system once set: handed over counts as given back.
int WINAPI CountSetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    int ok = g_real.setWindowRgn(hwnd, region, redraw);
    Freed(region, ok != 0, kRegion, kRegion);
    return ok;
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object)
{
    BOOL ok = g_real.deleteObject(object);
    Freed(object, ok, kPen, kRegion);
    return ok;
}
BOOL WINAPI CountDeleteDC(HDC dc)
{
    BOOL ok = g_real.deleteDC(dc);
    Freed(dc, ok, kMemoryDc, kMemoryDc);
    return ok;
}
HANDLE WINAPI CountLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int w, int h, UINT flags)
{
    HANDLE image = g_real.loadImageA(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
HDC WINAPI CountGetDC(HWND hwnd) { return Made(kWindowDc, g_real.getDC(hwnd)); }
HDC WINAPI CountGetWindowDC(HWND hwnd) { return Made(kWindowDc, g_real.getWindowDC(hwnd)); }
int WINAPI CountReleaseDC(HWND hwnd, HDC dc)
{
    int released = g_real.releaseDC(hwnd, dc);
    Freed(dc, released != 0, kWindowDc, kWindowDc);
    return released;
}
HDC WINAPI CountBeginPaint(HWND hwnd, PAINTSTRUCT* paint) { return Made(kPaintDc, g_real.beginPaint(hwnd, paint)); }
BOOL WINAPI CountEndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    HDC dc = paint->hdc;
    BOOL ok = g_real.endPaint(hwnd, paint);
    Freed(dc, true, kPaintDc, kPaintDc);  // EndPaint always answers TRUE
    return ok;
}

struct hook_t {
    const char* dll;
    const char* name;
    void* wrapper;
    void* original;  // where the wrapper finds the real function
};

template <typename F>
hook_t Hook(const char* dll, const char* name, F wrapper, F* original)
{
    return hook_t{dll, name, reinterpret_cast<void*>(wrapper), reinterpret_cast<void*>(original)};
}

const hook_t kHooks[] = {
    Hook("GDI32.dll", "CreatePen", CountCreatePen, &g_real.createPen),
    Hook("GDI32.dll", "CreateSolidBrush", CountCreateSolidBrush, &g_real.createSolidBrush),
    Hook("GDI32.dll", "CreateFontA", CountCreateFontA, &g_real.createFontA),
    Hook("GDI32.dll", "CreateFontIndirectA", CountCreateFontIndirectA, &g_real.createFontIndirectA),
    Hook("GDI32.dll", "CreateCompatibleBitmap", CountCreateCompatibleBitmap, &g_real.createCompatibleBitmap),
    Hook("GDI32.dll", "CreateDIBSection", CountCreateDIBSection, &g_real.createDIBSection),
    Hook("GDI32.dll", "CreateCompatibleDC", CountCreateCompatibleDC, &g_real.createCompatibleDC),
    Hook("GDI32.dll", "CreateRectRgn", CountCreateRectRgn, &g_real.createRectRgn),
    Hook("GDI32.dll", "CreateRoundRectRgn", CountCreateRoundRectRgn, &g_real.createRoundRectRgn),
    Hook("USER32.dll", "SetWindowRgn", CountSetWindowRgn, &g_real.setWindowRgn),
    Hook("GDI32.dll", "DeleteObject", CountDeleteObject, &g_real.deleteObject),
    Hook("GDI32.dll", "DeleteDC", CountDeleteDC, &g_real.deleteDC),
    Hook("USER32.dll", "LoadImageA", CountLoadImageA, &g_real.loadImageA),
    Hook("USER32.dll", "GetDC", CountGetDC, &g_real.getDC),
    Hook("USER32.dll", "GetWindowDC", CountGetWindowDC, &g_real.getWindowDC),
    Hook("USER32.dll", "ReleaseDC", CountReleaseDC, &g_real.releaseDC),
    Hook("USER32.dll", "BeginPaint", CountBeginPaint, &g_real.beginPaint),
    Hook("USER32.dll", "EndPaint", CountEndPaint, &g_real.endPaint),
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
    const char* gdi[] = {"Create", "ExtCreate", "Delete", "CopyImage"};
    const char* user[] = {"GetDC", "GetWindowDC", "ReleaseDC", "LoadImage", "LoadBitmap", "CopyImage", "BeginPaint"};
    for (const char* prefix : dll == "GDI32.dll" ? std::vector<const char*>(std::begin(gdi), std::end(gdi))
                                                 : std::vector<const char*>(std::begin(user), std::end(user)))
        if (name.compare(0, strlen(prefix), prefix) == 0) return true;
    return false;
}

constexpr int kTargets = 6;
constexpr int kRepaints = 1000;
constexpr int kActivations = 100;
constexpr int kSwatchRounds = 50;

struct at_least_t {
    Kind kind;
    long made;
};

struct counted_case_t {
    const char* name;
    bool useBitmap;
    // Drives the loaded plug-in; the targets are the windows the host may list.
    void (*drive)(const PluginDll& dll, std::vector<HWND>& targets);
    at_least_t atLeast;  // so that a case that silently did nothing fails
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
