#pragma once
// When the C library's allocator hands free memory back to the kernel.
//
// A folder's listing of a hundred thousand names is built on one thread
// and freed on another a moment later, and the next read builds one as
// big. Left to adjust itself, the allocator lowers its threshold for
// handing memory back after the first big block it frees, so a listing's
// pages went back to the kernel and the next listing faulted them in
// again: by chance of timing, a read of 50,000 names or a sort's work in a
// folder of 100,000 took half as long again. Fixed thresholds keep up to
// kTrimBytes free in the process for the next listing, and leave blocks
// below kMapFromBytes to the heap. Bigger blocks (the player's buffers for
// a video) still go back at once: keeping those too cost 7 MiB while a
// video played.
#include <malloc.h>

namespace heapthresholds {

constexpr int kMapFromBytes = 4 * 1024 * 1024;
constexpr int kTrimBytes = 8 * 1024 * 1024;

// Called first in main, before any thread starts.
inline void keepFreedMemoryForReuse()
{
    ::mallopt(M_MMAP_THRESHOLD, kMapFromBytes);
    ::mallopt(M_TRIM_THRESHOLD, kTrimBytes);
}

} // namespace heapthresholds
