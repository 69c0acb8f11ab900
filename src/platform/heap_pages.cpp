#include "platform/heap_pages.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

namespace {

#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
// The allocator's main heap: the [heap] line of the process's memory map.
bool mainHeap(std::uintptr_t& start, std::uintptr_t& end) {
    FILE* maps = std::fopen("/proc/self/maps", "r");
    if (!maps) return false;
    char line[512];
    bool found = false;
    while (!found && std::fgets(line, sizeof line, maps)) {
        if (!std::strstr(line, "[heap]")) continue;
        unsigned long from = 0;
        unsigned long to = 0;
        found = std::sscanf(line, "%lx-%lx", &from, &to) == 2;
        start = from;
        end = to;
    }
    std::fclose(maps);
    return found;
}
#endif

}  // namespace

void use_large_pages_for_heap() {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    // One large piece of address space, marked for large pages: the kernel
    // would not carry the mark over to later growths of the heap, so the
    // heap takes it all now (growth costs address space, not memory; pages
    // come on first touch) and keeps it.
    constexpr int kGrowth = 32 << 20;
    mallopt(M_TOP_PAD, kGrowth);
    mallopt(M_TRIM_THRESHOLD, 2 * kGrowth);
    // A block larger than the heap's free top, taken from the heap and given
    // back, makes it grow now. (Through a volatile pointer: a compiler may
    // drop an unused pair.) Blocks up to 1 MB come from the heap after.
    mallopt(M_MMAP_THRESHOLD, kGrowth);
    void* volatile block = std::malloc(kGrowth / 2);
    std::free(block);
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    if (mainHeap(start, end))
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
}

void use_large_pages_for_this_threads_heap() {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    // The allocator keeps another thread's heap in a reservation of 64 MB
    // aligned to its size, made usable piece by piece as it grows; the mark
    // goes on the whole reservation, so the later pieces carry it too.
    constexpr std::uintptr_t kReservation = std::uintptr_t(64) << 20;
    void* volatile block = std::malloc(64);
    const auto at = reinterpret_cast<std::uintptr_t>(block);
    std::free(block);
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    // The main thread's heap is another matter (see above).
    if (mainHeap(start, end) && at >= start && at < end) return;
    madvise(reinterpret_cast<void*>(at & ~(kReservation - 1)), kReservation, MADV_HUGEPAGE);
#endif
}

void map_file_pages_now(const void* data, unsigned long long size) {
#if defined(MADV_POPULATE_READ)
    if (!data || size == 0) return;
    const long page = sysconf(_SC_PAGESIZE);
    if (page <= 0) return;
    const auto at = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t start = at & ~(static_cast<std::uintptr_t>(page) - 1);
    madvise(reinterpret_cast<void*>(start), static_cast<std::size_t>(at + size - start),
            MADV_POPULATE_READ);
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace platform
