#pragma once
// A loaded module's calls to the heap (msvcrt malloc, calloc, realloc, free) and to the
// GDI and USER functions that make or give back objects, device contexts, windows and
// window classes, pointed through its import table at wrappers that count them and,
// when asked, make them fail. Only calls on the thread that installed the wrappers are
// counted or failed; one module is wrapped at a time.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/import_patch.h"

namespace fault {

// What the GDI tally keeps apart.
enum Kind { kPen, kBrush, kFont, kBitmap, kRegion, kMemoryDc, kWindowDc, kPaintDc, kKinds };
extern const char* const kKindNames[kKinds];

struct made_freed_t {
    long made = 0;
    long freed = 0;
};

// Objects and device contexts made and given back through the wrappers; a free counts
// only when it succeeded (deleting a still-selected object fails, and leaks).
struct gdi_tally_t {
    made_freed_t kinds[kKinds];
    std::multimap<HANDLE, Kind> live;  // made and not yet given back
    long strayFrees = 0;               // successful frees of handles not made through the wrappers

    long Live(Kind kind) const;
    std::string Describe() const;  // "pen 3/3, brush 2/2, ..." (made/given back)
};

struct call_counts_t {
    long allocations = 0;  // malloc, calloc, and realloc asking for memory; failed ones too
    long creates = 0;      // calls of the creating functions (below); failed ones too
    long failed = 0;       // calls that a wrapper made fail
    std::string failedCalls;  // which, in order: "malloc(24) CreateFontIndirectA ..."
};

gdi_tally_t& Tally();
call_counts_t& Counts();
void ResetCounts();  // tally and counts back to zero; no fault armed

// Allocations: the n-th from now fails (1 = the next one), and no other.
void FailAllocation(long n);
// Creating calls: after skip more of them succeed, the next count fail (then they succeed again).
// The creating calls: CreateFontA, CreateFontIndirectA, CreatePen, CreateSolidBrush,
// CreateCompatibleDC, CreateCompatibleBitmap, CreateDIBSection, CreateRectRgn,
// CreateRoundRectRgn, LoadImageA, GetDC, GetWindowDC, BeginPaint, CreateWindowExA,
// RegisterClassExA, RegisterClassA.
void FailCreates(long skip, long count);
void NoFaults();

// Points the module's imports of every wrapped function at its wrapper; puts them back when
// destroyed, unless the module was unloaded first (the last frees at unloading are counted).
class Hooks {
public:
    explicit Hooks(HMODULE module);
    ~Hooks();
    Hooks(const Hooks&) = delete;
    Hooks& operator=(const Hooks&) = delete;

    // The wrapped functions the module imports, by name, blank-separated.
    const std::string& Hooked() const { return m_hooked; }
    // Whether the module imports a function of its DLL (as the import table names it) that
    // makes or gives back an object and has no wrapper.
    static bool Unwrapped(const std::string& dll, const std::string& name);

private:
    std::vector<std::unique_ptr<ImportPatch>> m_patches;
    std::string m_hooked;
};

}  // namespace fault
