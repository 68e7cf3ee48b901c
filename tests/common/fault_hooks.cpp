#include "tests/common/fault_hooks.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

namespace fault {

const char* const kKindNames[kKinds] = {"pen", "brush", "font", "bitmap", "region", "memory DC", "window DC", "paint DC"};

namespace {

counts_t g_counts;
DWORD g_thread;  // the thread whose calls count
fault_t g_armed{kAllocations, 0, 0};  // count 0: none armed

bool Watched() { return GetCurrentThreadId() == g_thread; }

const char* NameOf(const void* original);  // of the hooked function whose original is kept there

// Counts one call of the family, to the function whose original is kept there; true when the
// armed fault makes it fail. size: of an allocation, for the list of failed calls.
bool Fails(Family family, const void* original, long size = -1)
{
    if (!Watched()) return false;
    ++g_counts.calls[family];
    if (family != g_armed.family) return false;
    if (g_armed.beforeEachCall) g_armed.beforeEachCall();
    if (g_armed.count == 0 || (g_armed.only && strcmp(g_armed.only, NameOf(original)) != 0)) return false;
    if (g_armed.skip > 0) return --g_armed.skip, false;
    --g_armed.count;
    g_counts.failedCalls += (g_counts.failed++ ? " " : "") + std::string(NameOf(original));
    if (size >= 0) g_counts.failedCalls += "(" + std::to_string(size) + ")";
    family == kAllocations ? void(errno = ENOMEM) : SetLastError(g_armed.error);
    return true;
}

// What a call answers when it fails: 0, or all bits set (INVALID_HANDLE_VALUE, WAIT_FAILED, ...).
template <typename R>
R Failure(bool allBits)
{
    if constexpr (std::is_pointer_v<R>) return reinterpret_cast<R>(allBits ? intptr_t(-1) : 0);
    else return allBits ? R(-1) : R(0);
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
        if (Fails(kCreatingCalls, &real<Id>)) {  // and no bits of a DIB section
            ([](auto out) { if constexpr (std::is_same_v<decltype(out), void**>) if (out) *out = nullptr; }(a), ...);
            return R();
        }
        R made = real<Id>(a...);
        if constexpr (K < kKinds) Made(K, made);
        return made;
    }
    // A file call, answering 0 or all bits set (AllBits) when it fails.
    template <int Id, bool AllBits> static R WINAPI File(A... a)
    {
        return Fails(kFileCalls, &real<Id>) ? Failure<R>(AllBits) : real<Id>(a...);
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
decltype(&WriteFile) g_writeFile;

void* __cdecl Malloc(size_t size) { return Fails(kAllocations, &g_malloc, long(size)) ? nullptr : g_malloc(size); }
void* __cdecl Calloc(size_t n, size_t size) { return Fails(kAllocations, &g_calloc, long(n * size)) ? nullptr : g_calloc(n, size); }
// realloc(p, 0) asks for no memory; a failed realloc leaves the block as it was.
void* __cdecl Realloc(void* p, size_t size) { return size && Fails(kAllocations, &g_realloc, long(size)) ? nullptr : g_realloc(p, size); }

// Only bitmaps are tallied: icons go back through functions not wrapped.
HANDLE WINAPI LoadImageWrap(HINSTANCE instance, LPCSTR name, UINT type, int w, int h, UINT flags)
{
    if (Fails(kCreatingCalls, &g_loadImageA)) return nullptr;
    HANDLE image = g_loadImageA(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
HANDLE WINAPI LoadImageWrapW(HINSTANCE instance, LPCWSTR name, UINT type, int w, int h, UINT flags)
{
    if (Fails(kCreatingCalls, &g_loadImageW)) return nullptr;
    HANDLE image = g_loadImageW(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? Made(kBitmap, image) : image;
}
// A failing BeginPaint still validates the window, as the system's does when it lacks a
// device context: otherwise WM_PAINT would come back at once, forever.
HDC WINAPI BeginPaintWrap(HWND hwnd, PAINTSTRUCT* paint)
{
    if (!Fails(kCreatingCalls, &g_beginPaint)) return Made(kPaintDc, g_beginPaint(hwnd, paint));
    DWORD error = GetLastError();  // the fault's
    if (g_beginPaint(hwnd, paint)) g_endPaint(hwnd, paint);
    paint->hdc = nullptr;
    SetLastError(error);
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

// A disk that fills up takes half the bytes before the write fails.
BOOL WINAPI WriteFileWrap(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (!Fails(kFileCalls, &g_writeFile)) return g_writeFile(file, bytes, size, written, overlapped);
    DWORD error = GetLastError();
    g_writeFile(file, bytes, size / 2, written, overlapped);
    SetLastError(error);
    return FALSE;
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
    WRAP(CreateFontIndirectA, Make, kFont), WRAP(CreateBitmap, Make, kBitmap), WRAP(CreateCompatibleBitmap, Make, kBitmap),
    WRAP(CreateDIBSection, Make, kBitmap), HAND(LoadImageA, LoadImageWrap, g_loadImageA),
    HAND(LoadImageW, LoadImageWrapW, g_loadImageW),
    WRAP(CreateCompatibleDC, Make, kMemoryDc), WRAP(DeleteDC, Free, 0, kMemoryDc),
    WRAP(CreateRectRgn, Make, kRegion), WRAP(CreateRoundRectRgn, Make, kRegion),
    WRAP(DeleteObject, Free, 0, kPen, kRegion),
    // A window region belongs to the system once set: handed over counts as given back.
    WRAP(SetWindowRgn, Free, 1, kRegion), WRAP(ReleaseDC, Free, 1, kWindowDc),
    WRAP(GetDC, Make, kWindowDc), WRAP(GetWindowDC, Make, kWindowDc),
    HAND(BeginPaint, BeginPaintWrap, g_beginPaint), HAND(EndPaint, EndPaintWrap, g_endPaint),
    WRAP(CreateWindowExA, Make, kKinds), WRAP(RegisterClassExA, Make, kKinds), WRAP(RegisterClassA, Make, kKinds),
    // What saving the settings asks of the kernel.
    WRAP(CreateMutexExW, File, false), WRAP(WaitForSingleObject, File, true), WRAP(CreateFileW, File, true),
    WRAP(GetFileSizeEx, File, false), WRAP(ReadFile, File, false), HAND(WriteFile, WriteFileWrap, g_writeFile),
    WRAP(FlushFileBuffers, File, false), WRAP(SetFilePointerEx, File, false), WRAP(SetEndOfFile, File, false),
    WRAP(ReplaceFileW, File, false), WRAP(MoveFileExW, File, false), WRAP(GetFileAttributesW, File, true),
};

// The family of a function is that of the DLL it comes from.
const struct { const char* dll; Family family; } kDlls[] = {
    {"msvcrt.dll", kAllocations}, {"GDI32.dll", kCreatingCalls}, {"USER32.dll", kCreatingCalls}, {"KERNEL32.dll", kFileCalls}};

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
void Arm(fault_t fault) { g_armed = std::move(fault); }
void NoFaults() { g_armed = fault_t{kAllocations, 0, 0}; }

Hooks::Hooks(HMODULE module, std::initializer_list<Family> families)
{
    g_thread = GetCurrentThreadId();
    // Each original is in place before a wrapper can run (the module is idle meanwhile); one
    // the module does not import is the system's own, for the wrappers that call it.
    for (const hook_t& h : kHooks)
        for (const auto& d : kDlls) {
            void* system = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(d.dll), h.name));
            if (!system) continue;
            bool wanted = std::find(families.begin(), families.end(), d.family) != families.end();
            if (wanted) patches.emplace_back(new ImportPatch(module, d.dll, h.name, h.wrapper));
            bool patched = wanted && patches.back()->Patched();
            *static_cast<void**>(h.original) = patched ? patches.back()->Original() : system;
            if (patched) hooked += std::string(hooked.empty() ? "" : " ") + h.name;
            break;
        }
}

}  // namespace fault
