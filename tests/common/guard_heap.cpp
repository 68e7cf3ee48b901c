#include "tests/common/guard_heap.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/common/import_patch.h"

namespace guard_heap {

namespace {

constexpr size_t kPage = 4096;
// Raised for a free of an address the heap never handed out, or handed out and freed.
constexpr DWORD kBadFree = 0xE0474846;

// What the heap keeps of one page of its arena.
struct page_t {
    uint32_t size = 0;      // the first page of a block: the size asked for
    uint32_t freedLap = 0;  // 0: never freed; else the lap it was freed in, plus one
    uint8_t use = 0;        // kFree, kFirst (of a block) or kRest (of a block, its guard page included)
};
enum : uint8_t { kFree, kFirst, kRest };

struct arena_t {
    char* base = nullptr;
    size_t pages = 0;
    page_t* page = nullptr;
    size_t cursor = 0;  // where the next search starts; only ever moves forward, round the arena
    uint32_t lap = 0;
    CRITICAL_SECTION lock;
};
arena_t g_arena;

// The C runtime's own functions, for blocks the heap did not make.
decltype(&free) g_crtFree;
decltype(&realloc) g_crtRealloc;

// A block of size bytes (0 counts as 1, for a unique address) and its slack to the alignment.
size_t Rounded(size_t size) { return ((size ? size : 1) + kAlignment - 1) & ~(kAlignment - 1); }
size_t DataPages(size_t size) { return (Rounded(size) + kPage - 1) / kPage; }

bool InArena(const void* p)
{
    return g_arena.base && static_cast<const char*>(p) >= g_arena.base &&
           static_cast<const char*>(p) < g_arena.base + g_arena.pages * kPage;
}

// A page a search may take: never used, or freed in an earlier lap than this one.
bool Takeable(const page_t& p) { return p.use == kFree && (p.freedLap == 0 || p.freedLap - 1 < g_arena.lap); }

// The first page of a run of count takeable pages from the cursor on, going round once; or pages.
size_t FindRun(size_t count)
{
    arena_t& a = g_arena;
    for (size_t searched = 0; searched < 2 * a.pages;) {
        if (a.cursor + count > a.pages) {
            searched += a.pages - a.cursor;
            a.cursor = 0;
            ++a.lap;
            continue;
        }
        size_t taken = 0;
        while (taken < count && Takeable(a.page[a.cursor + taken])) ++taken;
        if (taken == count) return a.cursor;
        a.cursor += taken + 1;
        searched += taken + 1;
    }
    return a.pages;
}

char* BlockAt(size_t first, size_t size) { return g_arena.base + (first + DataPages(size)) * kPage - Rounded(size); }

// The first page of the block p, or pages when p is no block the heap handed out.
size_t BlockOf(const void* p)
{
    size_t first = (static_cast<const char*>(p) - g_arena.base) / kPage;
    const page_t& page = g_arena.page[first];
    return page.use == kFirst && BlockAt(first, page.size) == p ? first : g_arena.pages;
}

[[noreturn]] void BadFree(const void* p)
{
    fprintf(stderr, "guard heap: %p was freed twice, or never handed out\n", p);
    fflush(stderr);
    ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(p);
    RaiseException(kBadFree, EXCEPTION_NONCONTINUABLE, 1, &argument);
    abort();
}

bool Reserve()
{
    if (g_arena.base) return true;
    // As much as the 2 GB of a 32-bit process spare: the more there is, the longer a freed
    // address waits before it is handed out again.
    for (size_t bytes = size_t(1) << 30; bytes >= (size_t(64) << 20) && !g_arena.base; bytes /= 2) {
        g_arena.base = static_cast<char*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS));
        g_arena.pages = bytes / kPage;
    }
    if (!g_arena.base) return false;
    g_arena.page = static_cast<page_t*>(
        VirtualAlloc(nullptr, g_arena.pages * sizeof(page_t), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!g_arena.page) {
        VirtualFree(g_arena.base, 0, MEM_RELEASE);
        g_arena.base = nullptr;
        return false;
    }
    InitializeCriticalSection(&g_arena.lock);
    return true;
}

struct Locked {
    Locked() { EnterCriticalSection(&g_arena.lock); }
    ~Locked() { LeaveCriticalSection(&g_arena.lock); }
};

void* __cdecl Malloc(size_t size) { return Allocate(size); }

void* __cdecl Calloc(size_t count, size_t size)
{
    if (size && count > SIZE_MAX / size) return errno = ENOMEM, nullptr;
    return Allocate(count * size);  // committed pages come zeroed
}

size_t SizeOf(const void* p)
{
    Locked locked;
    size_t first = BlockOf(p);
    if (first == g_arena.pages) BadFree(p);
    return g_arena.page[first].size;
}

void* __cdecl Realloc(void* p, size_t size)
{
    if (!p) return Allocate(size);
    if (!InArena(p)) return g_crtRealloc(p, size);
    if (size == 0) return Free(p), nullptr;  // as the C runtime does
    size_t old = SizeOf(p);
    void* moved = Allocate(size);
    if (!moved) return nullptr;  // the block stays as it was
    memcpy(moved, p, old < size ? old : size);
    Free(p);
    return moved;
}

void __cdecl FreeBlock(void* p) { Free(p); }

bool g_active;

}  // namespace

void* Allocate(size_t size)
{
    if (!Reserve() || size > g_arena.pages * kPage / 2) return errno = ENOMEM, nullptr;
    size_t data = DataPages(size);
    Locked locked;
    size_t first = FindRun(data + 1);  // and one inaccessible page after the block
    if (first == g_arena.pages ||
        !VirtualAlloc(g_arena.base + first * kPage, data * kPage, MEM_COMMIT, PAGE_READWRITE))
        return errno = ENOMEM, nullptr;
    g_arena.page[first].use = kFirst;
    g_arena.page[first].size = static_cast<uint32_t>(size);
    for (size_t i = 1; i <= data; ++i) g_arena.page[first + i].use = kRest;
    g_arena.cursor = first + data + 1;
    return BlockAt(first, size);
}

void Free(void* p)
{
    if (!p) return;
    if (!InArena(p)) return g_crtFree(p);
    Locked locked;
    size_t first = BlockOf(p);
    if (first == g_arena.pages) BadFree(p);
    size_t data = DataPages(g_arena.page[first].size);
    VirtualFree(g_arena.base + first * kPage, data * kPage, MEM_DECOMMIT);
    for (size_t i = 0; i <= data; ++i) g_arena.page[first + i] = page_t{0, g_arena.lap + 1, kFree};
}

bool Cover(HMODULE module)
{
    if (!Reserve()) return false;
    HMODULE crt = GetModuleHandleA("msvcrt.dll");
    g_crtFree = reinterpret_cast<decltype(&free)>(reinterpret_cast<void*>(GetProcAddress(crt, "free")));
    g_crtRealloc = reinterpret_cast<decltype(&realloc)>(reinterpret_cast<void*>(GetProcAddress(crt, "realloc")));
    const struct { const char* name; void* guard; } kFunctions[] = {
        {"malloc", reinterpret_cast<void*>(&Malloc)}, {"calloc", reinterpret_cast<void*>(&Calloc)},
        {"realloc", reinterpret_cast<void*>(&Realloc)}, {"free", reinterpret_cast<void*>(&FreeBlock)}};
    // Never put back: a block of the guard heap must never reach the C runtime's free.
    for (const auto& f : kFunctions) new ImportPatch(module, "msvcrt.dll", f.name, f.guard);
    g_active = true;
    return true;
}

bool Active() { return g_active; }

void CoverIfActive(HMODULE module)
{
    if (g_active && module) Cover(module);
}

}  // namespace guard_heap
