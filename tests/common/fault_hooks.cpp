#include "tests/common/fault_hooks.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <tuple>
#include <type_traits>

namespace fault {

const char* const kKindNames[kKinds] = {"pen", "brush", "font", "bitmap", "region", "memory DC", "window DC", "paint DC"};

namespace {

counts_t g_counts;
DWORD g_thread;             // the thread whose calls count
long g_failAllocation;      // the value of g_counts.allocations that fails; 0: none
long g_failFrom, g_failTo;  // creating calls numbered in [from, to) fail

bool Watched() { return GetCurrentThreadId() == g_thread; }

bool Failing(const std::string& call)
{
    g_counts.failedCalls += (g_counts.failed++ ? " " : "") + call;
    return true;
}

// Count one call each; true when it is to fail.
bool AllocationFails(const char* name, size_t size)
{
    if (!Watched() || ++g_counts.allocations != g_failAllocation) return false;
    errno = ENOMEM;
    return Failing(name + ("(" + std::to_string(size) + ")"));
}

const char* NameOf(const void* original);  // of the hooked function whose original is kept there

bool CreateFails(const void* original)
{
    if (!Watched() || ++g_counts.creates < g_failFrom || g_counts.creates >= g_failTo) return false;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return Failing(NameOf(original));
}

template <typename H>
H Made(Kind kind, H handle)
{
    if (handle != nullptr && Watched()) ++g_counts.made[kind], g_counts.live.emplace(handle, kind);
    return handle;
}

void Freed(HANDLE handle, bool ok, Kind first, Kind last)
{
    if (!ok || handle == nullptr || !Watched()) return;
    auto range = g_counts.live.equal_range(handle);
    auto it = std::find_if(range.first, range.second, [=](auto& e) { return e.second >= first && e.second <= last; });
    if (it == range.second) return void(++g_counts.strayFrees);
    ++g_counts.freed[it->second];
    g_counts.live.erase(it);
}

// One wrapper per signature; Id keeps apart the functions that share one.
template <typename F> struct wrap_t;
template <typename R, typename... A> struct wrap_t<R(WINAPI*)(A...)> {
    template <int Id> static inline R(WINAPI* real)(A...);  // what the import table held
    // A creating call; what it makes is tallied as kind K (kKinds: not tallied).
    template <int Id, Kind K> static R WINAPI Make(A... a)
    {
        if (CreateFails(&real<Id>)) {  // and no bits of a DIB section
            ([](auto out) { if constexpr (std::is_same_v<decltype(out), void**>) if (out) *out = nullptr; }(a), ...);
            return R();
        }
        R made = real<Id>(a...);
        if constexpr (K < kKinds) Made(K, made);
        return made;
    }
    // Gives back argument N, a handle of a kind from First to Last, when the call succeeds.
    template <int Id, size_t N, Kind First, Kind Last = First> static R WINAPI Free(A... a)
    {
        R ok = real<Id>(a...);
        Freed(std::get<N>(std::tie(a...)), ok != 0, First, Last);
        return ok;
    }
};

// The functions the import table held, for the wrappers written out by hand.
decltype(&malloc) g_malloc;
decltype(&calloc) g_calloc;
decltype(&realloc) g_realloc;
decltype(&LoadImageA) g_loadImageA;
decltype(&LoadImageW) g_loadImageW;
decltype(&BeginPaint) g_beginPaint;
decltype(&EndPaint) g_endPaint;

void* __cdecl Malloc(size_t size) { return AllocationFails("malloc", size) ? nullptr : g_malloc(size); }
void* __cdecl Calloc(size_t n, size_t size) { return AllocationFails("calloc", n * size) ? nullptr : g_calloc(n, size); }
// realloc(p, 0) asks for no memory; a failed realloc leaves the block as it was.
void* __cdecl Realloc(void* p, size_t size) { return size && AllocationFails("realloc", size) ? nullptr : g_realloc(p, size); }

// Only bitmaps are tallied: icons go back through functions not wrapped.
HANDLE WINAPI LoadImageWrap(HINSTANCE instance, LPCSTR name, UINT type, int w, int h, UINT flags)
{
    if (CreateFails(&g_loadImageA)) return nullptr;
    HANDLE image = g_loadImageA(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
HANDLE WINAPI LoadImageWrapW(HINSTANCE instance, LPCWSTR name, UINT type, int w, int h, UINT flags)
{
    if (CreateFails(&g_loadImageW)) return nullptr;
    HANDLE image = g_loadImageW(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
// A failing BeginPaint still validates the window, as the system's does when it lacks a
// device context: otherwise WM_PAINT would come back at once, forever.
HDC WINAPI BeginPaintWrap(HWND hwnd, PAINTSTRUCT* paint)
{
    if (!CreateFails(&g_beginPaint)) return Made(kPaintDc, g_beginPaint(hwnd, paint));
    if (g_beginPaint(hwnd, paint)) g_endPaint(hwnd, paint);
    paint->hdc = nullptr;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}
BOOL WINAPI EndPaintWrap(HWND hwnd, const PAINTSTRUCT* paint)
{
    HDC dc = paint->hdc;
    if (dc == nullptr) return TRUE;  // after a failed BeginPaint: nothing to end
    BOOL ok = g_endPaint(hwnd, paint);
    Freed(dc, true, kPaintDc, kPaintDc);  // EndPaint always answers TRUE
    return ok;
}

struct hook_t {
    const char* name;
    void *wrapper, *original;  // original: where the wrapper finds the function it stands in for
};
#define WRAP(fn, how, ...) WRAP_AS(__COUNTER__, fn, how, __VA_ARGS__)
#define WRAP_AS(id, fn, how, ...)                                                          \
    hook_t{#fn, reinterpret_cast<void*>(&wrap_t<decltype(&fn)>::how<id, __VA_ARGS__>), \
           reinterpret_cast<void*>(&wrap_t<decltype(&fn)>::real<id>)}
#define HAND(fn, wrapper, original) hook_t{#fn, reinterpret_cast<void*>(wrapper), reinterpret_cast<void*>(&original)}

const hook_t kHooks[] = {
    HAND(malloc, Malloc, g_malloc), HAND(calloc, Calloc, g_calloc), HAND(realloc, Realloc, g_realloc),
    WRAP(CreatePen, Make, kPen), WRAP(CreateSolidBrush, Make, kBrush), WRAP(CreateFontA, Make, kFont),
    WRAP(CreateFontIndirectA, Make, kFont), WRAP(CreateCompatibleBitmap, Make, kBitmap),
    WRAP(CreateDIBSection, Make, kBitmap), WRAP(CreateBitmap, Make, kBitmap),
    HAND(LoadImageA, LoadImageWrap, g_loadImageA),
    HAND(LoadImageW, LoadImageWrapW, g_loadImageW),
    WRAP(CreateCompatibleDC, Make, kMemoryDc), WRAP(DeleteDC, Free, 0, kMemoryDc),
    WRAP(CreateRectRgn, Make, kRegion), WRAP(CreateRoundRectRgn, Make, kRegion),
    WRAP(DeleteObject, Free, 0, kPen, kRegion),
    // A window region belongs to the system once set: handed over counts as given back.
    WRAP(SetWindowRgn, Free, 1, kRegion), WRAP(ReleaseDC, Free, 1, kWindowDc),
    WRAP(GetDC, Make, kWindowDc), WRAP(GetWindowDC, Make, kWindowDc),
    HAND(BeginPaint, BeginPaintWrap, g_beginPaint), HAND(EndPaint, EndPaintWrap, g_endPaint),
    WRAP(CreateWindowExA, Make, kKinds), WRAP(RegisterClassExA, Make, kKinds), WRAP(RegisterClassA, Make, kKinds),
};

const char* NameOf(const void* original)
{
    return std::find_if(std::begin(kHooks), std::end(kHooks), [=](const hook_t& h) { return h.original == original; })->name;
}

}  // namespace

std::string counts_t::Describe() const
{
    std::string text;
    for (int k = 0; k < kKinds; ++k)
        text += std::string(k ? ", " : "") + kKindNames[k] + " " + std::to_string(made[k]) + "/" + std::to_string(freed[k]);
    return text + " (made/given back)";
}

counts_t& Counts() { return g_counts; }
void ResetCounts() { g_counts = counts_t(), NoFaults(); }
void FailAllocation(long n) { g_failAllocation = g_counts.allocations + n; }
void FailCreates(long skip, long count)
{
    g_failFrom = g_counts.creates + skip + 1;
    g_failTo = count >= LONG_MAX - g_failFrom ? LONG_MAX : g_failFrom + count;
}
void NoFaults() { g_failAllocation = g_failFrom = g_failTo = 0; }

Hooks::Hooks(HMODULE module)
{
    g_thread = GetCurrentThreadId();
    // Each original is in place before a wrapper can run (the module is idle meanwhile); one
    // the module does not import is the system's own, for the wrappers that call it.
    for (const hook_t& h : kHooks)
        for (const char* dll : {"msvcrt.dll", "GDI32.dll", "USER32.dll"}) {
            void* system = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), h.name));
            if (!system) continue;
            patches.emplace_back(new ImportPatch(module, dll, h.name, h.wrapper));
            bool patched = patches.back()->Patched();
            *static_cast<void**>(h.original) = patched ? patches.back()->Original() : system;
            if (patched) hooked += std::string(hooked.empty() ? "" : " ") + h.name;
            break;
        }
}

}  // namespace fault
