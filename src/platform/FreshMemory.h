#pragma once
// Blocks of memory about to be filled from end to end.
//
// A big block just taken from the C library usually lies on pages the
// process has never touched, and filling it then stops at every page for
// the kernel to supply one. Asking for all of them at once costs one call
// instead of one fault a page, which is most of what filling thousands of
// small records costs on a fresh start.
#include <cstddef>
#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace freshmemory {

// Smaller blocks are left to fault in as they are written.
constexpr std::size_t kPrepareFromBytes = 64 * 1024;

// Has the kernel back every page of [data, data + size) now, as writing
// each would. The contents stay as they are; a kernel that cannot do it
// leaves the pages to be faulted in as before.
inline void prepareForWriting(void *data, std::size_t size)
{
    if (!data || size < kPrepareFromBytes)
        return;
    static const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = std::uintptr_t(data) & ~(page - 1);
    const std::uintptr_t end = std::uintptr_t(data) + size;
#ifdef MADV_POPULATE_WRITE
    madvise(reinterpret_cast<void *>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)end;
#endif
}

} // namespace freshmemory
