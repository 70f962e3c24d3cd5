// The host memory the benchmarks give the kernels: allocate and release, in
// place of the stand-in host's mxMalloc and mxFree.
//
// The stand-in host's allocator exists for tests: it fills every buffer with a
// pattern (touching all of it before the kernel does), adds guard bytes, and
// outside a call keeps every record, so that Vesk2's unreleased scratch is
// never reclaimed. Neither belongs in a measurement. Here a call is bracketed
// by beginCall/endCall, and endCall reclaims what the kernel left, as a host
// does when a call returns.
#ifndef VESK_BENCH_BENCH_HOST_H
#define VESK_BENCH_BENCH_HOST_H

#include <stddef.h>

namespace bench_host {

enum class Memory {
    // Warm: allocation i of a call gets the same buffer as allocation i of
    // the call before, already touched and possibly cached.
    Reused,
    // Cold: every allocation is fresh pages from the operating system, faulted
    // in by their first touch, as a host's allocator gives large blocks.
    Fresh,
};

void beginCall(Memory memory);
// Scratch for the kernels, as a host's mxMalloc and mxFree give it.
void* allocate(size_t bytes);
void release(void* pointer);
// Releases the scratch the call did not release itself.
void endCall();

// Untouched pages for an output matrix (zero when read, like the host's
// cleared matrices), and their release.
void* freshPages(size_t bytes);
void releasePages(void* pages, size_t bytes);

}  // namespace bench_host

#endif
