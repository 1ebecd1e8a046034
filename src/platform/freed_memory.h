#pragma once

// Freed memory back to the system. The C library keeps what is freed for the program's next
// allocations, and memory below the top of its heap stays resident; after a large amount is
// freed at once (a replaced document leaving the undo history) this hands the free pages back,
// so the resident size goes down with it.
namespace platform {

// Returns the free pages of the C library's heaps to the system; a few milliseconds on a heap
// of a few hundred megabytes. Does nothing where the C library offers no way to.
void returnFreedMemory();

}  // namespace platform
