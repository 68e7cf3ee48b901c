#include "tests/common/fault_hooks.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace fault {

const char* const kKindNames[kKinds] = {"pen",       "brush",     "font",    "bitmap", "region",
                                        "memory DC", "window DC", "paint DC"};

namespace {

gdi_tally_t g_tally;
call_counts_t g_counts;
DWORD g_thread;              // the thread whose calls are counted
long g_failAllocation;       // the value of g_counts.allocations that fails; 0: none
long g_failFrom, g_failTo;   // creating calls numbered in [from, to) fail

bool Watched() { return GetCurrentThreadId() == g_thread; }

void Failing(const std::string& call)
{
    ++g_counts.failed;
    g_counts.failedCalls += (g_counts.failedCalls.empty() ? "" : " ") + call;
}

// Counts one allocation; true when it is the one to fail.
bool AllocationFails(const char* name, size_t size)
{
    if (!Watched()) return false;
    bool fails = ++g_counts.allocations == g_failAllocation;
    if (fails) Failing(std::string(name) + "(" + std::to_string(size) + ")");
    return fails;
}

// Counts one creating call; true when it falls in the failing stretch.
bool CreateFails(const char* name)
{
    if (!Watched()) return false;
    long n = ++g_counts.creates;
    bool fails = n >= g_failFrom && n < g_failTo;
    if (fails) Failing(name);
    return fails;
}

template <typename H>
H Made(Kind kind, H handle)
{
    if (handle == nullptr || !Watched()) return handle;
    ++g_tally.kinds[kind].made;
    g_tally.live.emplace(handle, kind);
    return handle;
}

void Freed(HANDLE handle, bool ok, Kind first, Kind last)
{
    if (!ok || handle == nullptr || !Watched()) return;
    auto range = g_tally.live.equal_range(handle);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second < first || it->second > last) continue;
        ++g_tally.kinds[it->second].freed;
        g_tally.live.erase(it);
        return;
    }
    ++g_tally.strayFrees;
}

// ---- the functions the import table held; each wrapper calls its own ----

struct originals_t {
    decltype(&malloc) malloc_;
    decltype(&calloc) calloc_;
    decltype(&realloc) realloc_;
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
    decltype(&CreateWindowExA) createWindowExA;
    decltype(&RegisterClassExA) registerClassExA;
    decltype(&RegisterClassA) registerClassA;
} g_real;

void* __cdecl FaultMalloc(size_t size)
{
    if (AllocationFails("malloc", size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return g_real.malloc_(size);
}

void* __cdecl FaultCalloc(size_t count, size_t size)
{
    if (AllocationFails("calloc", count * size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return g_real.calloc_(count, size);
}

// realloc(p, 0) gives memory back and asks for none: not an allocation.
void* __cdecl FaultRealloc(void* block, size_t size)
{
    if (size != 0 && AllocationFails("realloc", size)) {
        errno = ENOMEM;
        return nullptr;  // the block stays as it was
    }
    return g_real.realloc_(block, size);
}

HGDIOBJ Failed()
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

HPEN WINAPI WrapCreatePen(int style, int width, COLORREF colour)
{
    if (CreateFails("CreatePen")) return static_cast<HPEN>(Failed());
    return Made(kPen, g_real.createPen(style, width, colour));
}
HBRUSH WINAPI WrapCreateSolidBrush(COLORREF colour)
{
    if (CreateFails("CreateSolidBrush")) return static_cast<HBRUSH>(Failed());
    return Made(kBrush, g_real.createSolidBrush(colour));
}
HFONT WINAPI WrapCreateFontA(int h, int w, int esc, int orient, int weight, DWORD italic, DWORD underline,
                             DWORD strike, DWORD charset, DWORD out, DWORD clip, DWORD quality, DWORD pitch,
                             LPCSTR face)
{
    if (CreateFails("CreateFontA")) return static_cast<HFONT>(Failed());
    return Made(kFont, g_real.createFontA(h, w, esc, orient, weight, italic, underline, strike, charset, out, clip,
                                          quality, pitch, face));
}
HFONT WINAPI WrapCreateFontIndirectA(const LOGFONTA* font)
{
    if (CreateFails("CreateFontIndirectA")) return static_cast<HFONT>(Failed());
    return Made(kFont, g_real.createFontIndirectA(font));
}
HBITMAP WINAPI WrapCreateCompatibleBitmap(HDC dc, int w, int h)
{
    if (CreateFails("CreateCompatibleBitmap")) return static_cast<HBITMAP>(Failed());
    return Made(kBitmap, g_real.createCompatibleBitmap(dc, w, h));
}
HBITMAP WINAPI WrapCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                    DWORD offset)
{
    if (CreateFails("CreateDIBSection")) {
        if (bits) *bits = nullptr;
        return static_cast<HBITMAP>(Failed());
    }
    return Made(kBitmap, g_real.createDIBSection(dc, info, usage, bits, section, offset));
}
HDC WINAPI WrapCreateCompatibleDC(HDC dc)
{
    if (CreateFails("CreateCompatibleDC")) return static_cast<HDC>(Failed());
    return Made(kMemoryDc, g_real.createCompatibleDC(dc));
}
HRGN WINAPI WrapCreateRectRgn(int l, int t, int r, int b)
{
    if (CreateFails("CreateRectRgn")) return static_cast<HRGN>(Failed());
    return Made(kRegion, g_real.createRectRgn(l, t, r, b));
}
HRGN WINAPI WrapCreateRoundRectRgn(int l, int t, int r, int b, int w, int h)
{
    if (CreateFails("CreateRoundRectRgn")) return static_cast<HRGN>(Failed());
    return Made(kRegion, g_real.createRoundRectRgn(l, t, r, b, w, h));
}
// A window region belongs to the system once set: handed over counts as given back.
int WINAPI WrapSetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    int ok = g_real.setWindowRgn(hwnd, region, redraw);
    Freed(region, ok != 0, kRegion, kRegion);
    return ok;
}
BOOL WINAPI WrapDeleteObject(HGDIOBJ object)
{
    BOOL ok = g_real.deleteObject(object);
    Freed(object, ok, kPen, kRegion);
    return ok;
}
BOOL WINAPI WrapDeleteDC(HDC dc)
{
    BOOL ok = g_real.deleteDC(dc);
    Freed(dc, ok, kMemoryDc, kMemoryDc);
    return ok;
}
HANDLE WINAPI WrapLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int w, int h, UINT flags)
{
    if (CreateFails("LoadImageA")) return Failed();
    HANDLE image = g_real.loadImageA(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
HDC WINAPI WrapGetDC(HWND hwnd)
{
    if (CreateFails("GetDC")) return static_cast<HDC>(Failed());
    return Made(kWindowDc, g_real.getDC(hwnd));
}
HDC WINAPI WrapGetWindowDC(HWND hwnd)
{
    if (CreateFails("GetWindowDC")) return static_cast<HDC>(Failed());
    return Made(kWindowDc, g_real.getWindowDC(hwnd));
}
int WINAPI WrapReleaseDC(HWND hwnd, HDC dc)
{
    int released = g_real.releaseDC(hwnd, dc);
    Freed(dc, released != 0, kWindowDc, kWindowDc);
    return released;
}
// A failing BeginPaint still validates the window, as the system's does when it fails
// for want of a device context: otherwise WM_PAINT would come back at once, forever.
HDC WINAPI WrapBeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    if (CreateFails("BeginPaint")) {
        if (g_real.beginPaint(hwnd, paint)) g_real.endPaint(hwnd, paint);
        paint->hdc = nullptr;
        return static_cast<HDC>(Failed());
    }
    return Made(kPaintDc, g_real.beginPaint(hwnd, paint));
}
BOOL WINAPI WrapEndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    HDC dc = paint->hdc;
    if (dc == nullptr) return TRUE;  // after a failed BeginPaint: nothing to end
    BOOL ok = g_real.endPaint(hwnd, paint);
    Freed(dc, true, kPaintDc, kPaintDc);  // EndPaint always answers TRUE
    return ok;
}
HWND WINAPI WrapCreateWindowExA(DWORD exStyle, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h,
                                HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    if (CreateFails("CreateWindowExA")) return static_cast<HWND>(Failed());
    return g_real.createWindowExA(exStyle, cls, name, style, x, y, w, h, parent, menu, instance, param);
}
ATOM WINAPI WrapRegisterClassExA(const WNDCLASSEXA* wc)
{
    if (CreateFails("RegisterClassExA")) {
        Failed();
        return 0;
    }
    return g_real.registerClassExA(wc);
}
ATOM WINAPI WrapRegisterClassA(const WNDCLASSA* wc)
{
    if (CreateFails("RegisterClassA")) {
        Failed();
        return 0;
    }
    return g_real.registerClassA(wc);
}

struct hook_t {
    const char* dll;
    const char* name;
    void* wrapper;
    void* original;  // where the wrapper finds the function it stands in for
};

template <typename F>
hook_t Hook(const char* dll, const char* name, F wrapper, F* original)
{
    return hook_t{dll, name, reinterpret_cast<void*>(wrapper), reinterpret_cast<void*>(original)};
}

const hook_t kHooks[] = {
    Hook("msvcrt.dll", "malloc", FaultMalloc, &g_real.malloc_),
    Hook("msvcrt.dll", "calloc", FaultCalloc, &g_real.calloc_),
    Hook("msvcrt.dll", "realloc", FaultRealloc, &g_real.realloc_),
    Hook("GDI32.dll", "CreatePen", WrapCreatePen, &g_real.createPen),
    Hook("GDI32.dll", "CreateSolidBrush", WrapCreateSolidBrush, &g_real.createSolidBrush),
    Hook("GDI32.dll", "CreateFontA", WrapCreateFontA, &g_real.createFontA),
    Hook("GDI32.dll", "CreateFontIndirectA", WrapCreateFontIndirectA, &g_real.createFontIndirectA),
    Hook("GDI32.dll", "CreateCompatibleBitmap", WrapCreateCompatibleBitmap, &g_real.createCompatibleBitmap),
    Hook("GDI32.dll", "CreateDIBSection", WrapCreateDIBSection, &g_real.createDIBSection),
    Hook("GDI32.dll", "CreateCompatibleDC", WrapCreateCompatibleDC, &g_real.createCompatibleDC),
    Hook("GDI32.dll", "CreateRectRgn", WrapCreateRectRgn, &g_real.createRectRgn),
    Hook("GDI32.dll", "CreateRoundRectRgn", WrapCreateRoundRectRgn, &g_real.createRoundRectRgn),
    Hook("USER32.dll", "SetWindowRgn", WrapSetWindowRgn, &g_real.setWindowRgn),
    Hook("GDI32.dll", "DeleteObject", WrapDeleteObject, &g_real.deleteObject),
    Hook("GDI32.dll", "DeleteDC", WrapDeleteDC, &g_real.deleteDC),
    Hook("USER32.dll", "LoadImageA", WrapLoadImageA, &g_real.loadImageA),
    Hook("USER32.dll", "GetDC", WrapGetDC, &g_real.getDC),
    Hook("USER32.dll", "GetWindowDC", WrapGetWindowDC, &g_real.getWindowDC),
    Hook("USER32.dll", "ReleaseDC", WrapReleaseDC, &g_real.releaseDC),
    Hook("USER32.dll", "BeginPaint", WrapBeginPaint, &g_real.beginPaint),
    Hook("USER32.dll", "EndPaint", WrapEndPaint, &g_real.endPaint),
    Hook("USER32.dll", "CreateWindowExA", WrapCreateWindowExA, &g_real.createWindowExA),
    Hook("USER32.dll", "RegisterClassExA", WrapRegisterClassExA, &g_real.registerClassExA),
    Hook("USER32.dll", "RegisterClassA", WrapRegisterClassA, &g_real.registerClassA),
};

}  // namespace

long gdi_tally_t::Live(Kind kind) const { return kinds[kind].made - kinds[kind].freed; }

std::string gdi_tally_t::Describe() const
{
    std::string text;
    for (int k = 0; k < kKinds; ++k)
        text += std::string(k ? ", " : "") + kKindNames[k] + " " + std::to_string(kinds[k].made) + "/" +
                std::to_string(kinds[k].freed);
    return text + " (made/given back)";
}

gdi_tally_t& Tally() { return g_tally; }
call_counts_t& Counts() { return g_counts; }

void ResetCounts()
{
    g_tally = gdi_tally_t();
    g_counts = call_counts_t();
    NoFaults();
}

void FailAllocation(long n) { g_failAllocation = n > 0 ? g_counts.allocations + n : 0; }

void FailCreates(long skip, long count)
{
    g_failFrom = g_counts.creates + skip + 1;
    g_failTo = count >= LONG_MAX - g_failFrom ? LONG_MAX : g_failFrom + count;
}

void NoFaults()
{
    g_failAllocation = 0;
    g_failFrom = g_failTo = 0;
}

Hooks::Hooks(HMODULE module)
{
    g_thread = GetCurrentThreadId();
    // Each original is filled in before any wrapper can run: the module is idle meanwhile.
    for (const hook_t& h : kHooks) {
        // A function the module does not import keeps the system's own for its wrapper.
        HMODULE from = GetModuleHandleA(h.dll);
        *static_cast<void**>(h.original) = from ? reinterpret_cast<void*>(GetProcAddress(from, h.name)) : nullptr;
        m_patches.emplace_back(new ImportPatch(module, h.dll, h.name, h.wrapper));
        if (!m_patches.back()->Patched()) continue;
        *static_cast<void**>(h.original) = m_patches.back()->Original();
        m_hooked += std::string(m_hooked.empty() ? "" : " ") + h.name;
    }
}

Hooks::~Hooks() { NoFaults(); }

bool Hooks::Unwrapped(const std::string& dll, const std::string& name)
{
    for (const hook_t& h : kHooks)
        if (_stricmp(dll.c_str(), h.dll) == 0 && name == h.name) return false;
    static const char* const kMakers[][2] = {
        {"msvcrt.dll", "malloc"},      {"msvcrt.dll", "calloc"},       {"msvcrt.dll", "realloc"},
        {"msvcrt.dll", "_strdup"},     {"msvcrt.dll", "strdup"},       {"GDI32.dll", "Create"},
        {"GDI32.dll", "ExtCreate"},    {"GDI32.dll", "Delete"},        {"USER32.dll", "GetDC"},
        {"USER32.dll", "GetDCEx"},     {"USER32.dll", "GetWindowDC"},  {"USER32.dll", "ReleaseDC"},
        {"USER32.dll", "LoadImage"},   {"USER32.dll", "LoadBitmap"},   {"USER32.dll", "CopyImage"},
        {"USER32.dll", "BeginPaint"},  {"USER32.dll", "CreateWindow"}, {"USER32.dll", "RegisterClass"},
    };
    for (const auto& m : kMakers)
        if (_stricmp(dll.c_str(), m[0]) == 0 && name.compare(0, strlen(m[1]), m[1]) == 0) return true;
    return false;
}

}  // namespace fault
