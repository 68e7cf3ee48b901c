#pragma once
// A page heap for the test programs. Every block has pages of its own and ends where an
// inaccessible page begins; a freed block's pages are decommitted and handed out again
// only after the heap has gone once round its whole arena. A write past a block's end or
// into a freed block then faults at the instruction that makes it, not at some later
// allocation that trips over a damaged heap.
#include <windows.h>

#include <cstddef>

namespace guard_heap {

// Blocks start 8-aligned, as the C runtime's do on 32-bit Windows, so a block whose size
// is not a multiple of 8 has up to 7 bytes of slack before its guard page.
constexpr size_t kAlignment = 8;

// Points the module's imports of the C runtime's allocation functions (msvcrt malloc,
// calloc, realloc, free) at the guard heap, reserving the arena at the first call. Blocks
// the module had before keep their own heap: free and realloc pass them on. False when
// the arena could not be reserved.
bool Cover(HMODULE module);
// Whether a Cover succeeded in this process (a test program turns it on for itself at start).
bool Active();
// Covers a module loaded later too, when the heap is active.
void CoverIfActive(HMODULE module);

void* Allocate(size_t size);
void Free(void* block);

}  // namespace guard_heap
