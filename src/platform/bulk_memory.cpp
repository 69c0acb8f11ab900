#include "platform/bulk_memory.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace platform {

namespace {

std::uintptr_t roundUp(std::uintptr_t value, std::uintptr_t step) {
    return (value + step - 1) & ~(step - 1);
}

// Fresh memory of `size` bytes (a multiple of the block size) starting on a
// block boundary, where large pages can back it; null when there is none.
char* mapAligned(std::size_t size) {
    const std::size_t block = BulkMemory::kBlockSize;
    void* mapped = mmap(nullptr, size + block, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    char* const raw = static_cast<char*>(mapped);
    char* const start = reinterpret_cast<char*>(roundUp(reinterpret_cast<std::uintptr_t>(raw), block));
    // The parts before and after the aligned range go back at once.
    if (start > raw) munmap(raw, static_cast<std::size_t>(start - raw));
    char* const tail = start + size;
    char* const rawEnd = raw + size + block;
    if (rawEnd > tail) munmap(tail, static_cast<std::size_t>(rawEnd - tail));
    return start;
}

// Asks for the whole range to be backed now; where the system cannot, its
// pages simply arrive at first touch.
void backNow(char* start, std::size_t size) {
#ifdef MADV_HUGEPAGE
    madvise(start, size, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    madvise(start, size, MADV_POPULATE_WRITE);
#endif
}

}  // namespace

BulkMemory::~BulkMemory() {
    for (const Block& block : blocks_) munmap(block.start, block.size);
    process_mapped_ -= mapped_;
}

void* BulkMemory::allocate(std::size_t bytes, std::size_t alignment) {
    while (busy_.test_and_set(std::memory_order_acquire)) busy_.wait(true, std::memory_order_relaxed);
    struct Release {
        std::atomic_flag& busy;
        ~Release() {
            busy.clear(std::memory_order_release);
            busy.notify_one();
        }
    } release{busy_};
    char* at = reinterpret_cast<char*>(roundUp(reinterpret_cast<std::uintptr_t>(next_), alignment));
    if (!next_ || at > end_ || static_cast<std::size_t>(end_ - at) < bytes) {
        add_block(bytes);
        at = next_;  // a block starts on a page boundary: aligned for any record
    }
    next_ = at + bytes;
    return at;
}

void BulkMemory::add_block(std::size_t atLeast) {
    const std::size_t size = roundUp(atLeast, kBlockSize);
    blocks_.reserve(blocks_.size() + 1);
    char* const start = mapAligned(size);
    if (!start) throw std::bad_alloc();
    backNow(start, size);
    blocks_.push_back({start, size});
    next_ = start;
    end_ = start + size;
    mapped_ += size;
    process_mapped_ += size;
}

}  // namespace platform
