#pragma once
// A loaded module's calls to the heap (msvcrt malloc, calloc, realloc), to the GDI and USER
// functions that make or give back objects, device contexts, windows and window classes,
// and to the kernel's file calls that saving the settings makes, pointed through its import
// table at wrappers that count them and, when a fault is armed, make them fail. Only the
// calls of the thread that made the Hooks count; one module at a time.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/import_patch.h"

namespace fault {

enum Kind { kPen, kBrush, kFont, kBitmap, kRegion, kMemoryDc, kWindowDc, kPaintDc, kKinds };
extern const char* const kKindNames[kKinds];

// The calls a fault can be armed for, each counted on its own.
enum Family { kAllocations, kCreatingCalls, kFileCalls, kFamilies };

struct counts_t {
    // Made, and given back by a free that succeeded (deleting a still-selected object fails, and leaks).
    long made[kKinds] = {}, freed[kKinds] = {};
    std::multimap<HANDLE, Kind> live;  // made and not yet given back
    long strayFrees = 0;               // successful frees of handles not made through the wrappers
    long calls[kFamilies] = {};        // failed ones too; realloc(p, 0) is no allocation
    long failed = 0;
    std::string failedCalls;           // in order: "malloc(24) CreateFontIndirectA ..."
    std::string Describe() const;      // "pen 3/3, brush 2/2, ... (made/given back)"
};
counts_t& Counts();
void ResetCounts();  // back to zero, no fault armed

// One fault at a time, one countdown: after skip more calls of the family (of the function
// named only, when given) succeed, count of them fail. A failed allocation sets errno to
// ENOMEM, any other call the error.
struct fault_t {
    Family family;
    long skip = 0, count = 1;
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    const char* only = nullptr;
    std::function<void()> beforeEachCall = nullptr;  // before every call of the family, where a kill could stop the process
};
void Arm(fault_t fault);
void NoFaults();

// Points the module's imports of these families at the wrappers; puts them back when
// destroyed, unless the module was unloaded first (so that the frees at unloading are counted).
struct Hooks {
    explicit Hooks(HMODULE module, std::initializer_list<Family> families = {kAllocations, kCreatingCalls, kFileCalls});
    ~Hooks() { NoFaults(); }
    std::string hooked;  // the wrapped functions the module imports, blank-separated
    std::vector<std::unique_ptr<ImportPatch>> patches;
};

}  // namespace fault
