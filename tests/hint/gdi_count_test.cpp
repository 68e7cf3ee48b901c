// Every pen, brush, font, bitmap and device context the real ZlvnHint.dll makes is
// given back: its import table is pointed at counting wrappers (Wine's GetGuiResources
// answers 0), and the plug-in is driven through its exports over many paints.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/zlvn_host.h"
#include "tests/common/import_patch.h"
#include "tests/common/plugin_dll.h"
#include "tests/hint/hint_fixture.h"

namespace {

enum Kind { kPen, kBrush, kFont, kBitmap, kMemoryDc, kWindowDc, kPaintDc, kKinds };
const char* const kKindNames[kKinds] = {"pen", "brush", "font", "bitmap", "memory DC", "window DC", "paint DC"};

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
BOOL WINAPI CountDeleteObject(HGDIOBJ object)
{
    BOOL ok = g_real.deleteObject(object);
    Freed(object, ok, kPen, kBitmap);
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

// Pumps messages until the condition holds; false after a generous limit.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 10000)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > limitMs) return false;
        Sleep(1);
    }
}

constexpr int kTargets = 6;
constexpr int kRepaints = 1000;
constexpr int kActivations = 100;

struct counted_case_t {
    const char* name;
    bool useBitmap;
    // Drives the loaded plug-in; the targets are the windows the host may list.
    void (*drive)(const PluginDll& dll, const std::vector<HWND>& targets);
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

void Repaints(const PluginDll& dll, const std::vector<HWND>& targets)
{
    ListTargets(targets, 0, 3);
    dll.Call("Zlvn_OnActive");
    std::vector<HWND> popups = Popups();
    ASSERT_EQ(3u, popups.size()) << "hints shown";
    for (int i = 0; i < kRepaints; ++i) {
        HWND popup = popups[i % popups.size()];
        long painted = g_tally[kPaintDc].freed;
        InvalidateRect(popup, nullptr, FALSE);
        UpdateWindow(popup);
        ASSERT_TRUE(PumpUntil([painted] { return g_tally[kPaintDc].freed > painted; })) << "repaint " << i;
    }
    dll.Call("Zlvn_OnInactive");
}

void Activations(const PluginDll& dll, const std::vector<HWND>& targets)
{
    for (int i = 0; i < kActivations; ++i) {
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

const counted_case_t kCases[] = {
    {"box repaints", false, Repaints},
    {"bitmap repaints", true, Repaints},
    {"activations", false, Activations},
};

TEST(GdiCount, EveryObjectAndDeviceContextIsGivenBack)
{
    for (const counted_case_t& c : kCases) {
        SCOPED_TRACE(c.name);
        zlvnhost::ResetHost();
        std::vector<HWND> targets;
        for (int i = 0; i < kTargets; ++i) {
            LONG x = 40 + 200 * (i % 3), y = 60 + 250 * (i / 3);
            targets.push_back(MakeTarget(RECT{x, y, x + 180, y + 200}, "counted"));
        }
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
            dll.Unload();
            printf("[%s] counted calls: %s\n", c.name, hooked.c_str());
        }
        printf("[%s]", c.name);
        for (int k = 0; k < kKinds; ++k) {
            printf(" %s %ld/%ld%s", kKindNames[k], g_tally[k].made, g_tally[k].freed, k + 1 < kKinds ? "," : "");
            EXPECT_EQ(g_tally[k].made, g_tally[k].freed) << kKindNames[k] << ": made / given back";
        }
        printf(" (made/given back)\n");
        EXPECT_TRUE(g_live.empty()) << g_live.size() << " handles left";
        EXPECT_EQ(0, g_strayFrees) << "frees of handles that were not counted as made";
        EXPECT_GE(g_tally[kPaintDc].made, c.drive == Repaints ? kRepaints : kActivations) << "paints";
        for (HWND target : targets) DestroyWindow(target);
    }
}

}  // namespace
