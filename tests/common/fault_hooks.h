#pragma once
// A loaded module's calls to the heap (msvcrt malloc, calloc, realloc) and to the GDI and
// USER functions that make or give back objects, device contexts, windows and window
// classes, pointed through its import table at wrappers that count them and, when asked,
// make them fail. Only the calls of the thread that made the Hooks count; one module at a time.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/import_patch.h"

namespace fault {

enum Kind { kPen, kBrush, kFont, kBitmap, kRegion, kMemoryDc, kWindowDc, kPaintDc, kKinds };
extern const char* const kKindNames[kKinds];

struct counts_t {
    // Made, and given back by a free that succeeded (deleting a still-selected object fails, and leaks).
    long made[kKinds] = {}, freed[kKinds] = {};
    std::multimap<HANDLE, Kind> live;  // made and not yet given back
    long strayFrees = 0;               // successful frees of handles not made through the wrappers
    long allocations = 0, creates = 0, failed = 0;  // calls, failed ones too; realloc(p, 0) is no allocation
    std::string failedCalls;                        // in order: "malloc(24) CreateFontIndirectA ..."
    std::string Describe() const;                   // "pen 3/3, brush 2/2, ... (made/given back)"
};
counts_t& Counts();
void ResetCounts();                       // back to zero, no fault armed
void FailAllocation(long n);              // the n-th allocation from now fails (1: the next), no other
void FailCreates(long skip, long count);  // after skip more creating calls, count of them fail
void NoFaults();

// Points the module's imports at the wrappers; puts them back when destroyed, unless the
// module was unloaded first (so that the frees at unloading are counted).
struct Hooks {
    explicit Hooks(HMODULE module);
    ~Hooks() { NoFaults(); }
    std::string hooked;  // the wrapped functions the module imports, blank-separated
    std::vector<std::unique_ptr<ImportPatch>> patches;
};

}  // namespace fault
