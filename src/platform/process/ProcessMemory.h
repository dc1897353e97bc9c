#pragma once

// How the process lays out its heap.
namespace ProcessMemory {

// The C library gives each thread that allocates a heap of its own, each reserving 64 MB of
// address space however little it holds: a handful of threads (the loading thread, the icon
// decoder, the toolkit's own) reserve hundreds of megabytes, and a cap on the address space
// (ulimit -v) then refuses new threads. Two heaps are kept at most: the main thread's and one
// shared by the others. Call first thing in main(), before any thread starts.
void limitHeaps();

} // namespace ProcessMemory
