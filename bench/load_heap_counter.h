#pragma once

// Counts the bytes the process holds on the heap, and their peak, by
// standing in for the C allocator (every allocation of Qt and the standard
// library ends there). Include in exactly one translation unit of a
// benchmark program. Counting costs every allocation two atomic updates that
// the two loading threads contend for, which the program never pays: loads
// that are timed run with counting off.

#include "platform/bulk_memory.h"

#include <malloc.h>

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace load_heap {

inline std::atomic<long long> current{0};
inline std::atomic<long long> peak{0};
// Off: the allocator is passed through. Switched only between loads, so that
// a counted load frees what it allocated while counted.
inline std::atomic<bool> counting{true};

// The records' bulk memory comes from the system beside the allocator: it
// counts with the heap from the moment it is taken (it only grows while a
// database loads, and every allocation looks at it).
inline long long bulk() {
    return static_cast<long long>(platform::BulkMemory::process_mapped_bytes());
}

inline void note(long long now) {
    long long seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
}

inline void added(void* block) {
    if (!block || !counting.load(std::memory_order_relaxed)) return;
    const auto size = static_cast<long long>(malloc_usable_size(block));
    note(current.fetch_add(size) + size + bulk());
}

inline void removed(void* block) {
    if (block && counting.load(std::memory_order_relaxed))
        current.fetch_sub(static_cast<long long>(malloc_usable_size(block)));
}

// Heap and bulk memory held now.
inline long long held() {
    return current.load() + bulk();
}

// Starts a new peak from what is held now.
inline void reset_peak() {
    peak.store(held());
}

}  // namespace load_heap

extern "C" {

void* malloc(size_t size) {
    void* block = __libc_malloc(size);
    load_heap::added(block);
    return block;
}

void* calloc(size_t count, size_t size) {
    void* block = __libc_calloc(count, size);
    load_heap::added(block);
    return block;
}

void* realloc(void* old, size_t size) {
    const long long before = old && load_heap::counting.load(std::memory_order_relaxed)
                                 ? static_cast<long long>(malloc_usable_size(old))
                                 : 0;
    void* block = __libc_realloc(old, size);
    if (!load_heap::counting.load(std::memory_order_relaxed)) return block;
    if (block) {
        load_heap::current.fetch_sub(before);
        load_heap::added(block);
    } else if (size == 0) {
        load_heap::current.fetch_sub(before);
    }
    return block;
}

void free(void* block) {
    load_heap::removed(block);
    __libc_free(block);
}

void* memalign(size_t alignment, size_t size) {
    void* block = __libc_memalign(alignment, size);
    load_heap::added(block);
    return block;
}

void* aligned_alloc(size_t alignment, size_t size) {
    return memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
    void* block = memalign(alignment, size);
    if (!block) return 12;  // ENOMEM
    *out = block;
    return 0;
}

void* valloc(size_t size) {
    return memalign(4096, size);
}

}  // extern "C"
