#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace platform {

// Memory for many small records that live and die together: handed out in
// pieces from large blocks, all returned at once when the owner goes.
//
// The blocks are backed by the system in one step, with large pages where it
// offers them, instead of page by page at first touch. On a virtual machine
// every first touch of a fresh page traps to the host and costs more than
// filling the records on it: the database's tens of thousands of records
// would otherwise spend most of their loading time in those traps.
class BulkMemory {
  public:
    BulkMemory() = default;
    ~BulkMemory();
    BulkMemory(const BulkMemory&) = delete;
    BulkMemory& operator=(const BulkMemory&) = delete;

    // `bytes` aligned to `alignment` (a power of two, at most 4096); throws
    // std::bad_alloc when the system has no memory left. Threads may share
    // one: stores ask for whole chunks of records, so they rarely meet here.
    void* allocate(std::size_t bytes, std::size_t alignment);
    // What this one has taken from the system.
    std::size_t mapped_bytes() const { return mapped_; }
    // What every BulkMemory of the process holds, for measurements.
    static std::size_t process_mapped_bytes() { return process_mapped_.load(); }

    static constexpr std::size_t kBlockSize = std::size_t(2) << 20;

  private:
    struct Block {
        char* start;
        std::size_t size;
    };
    void add_block(std::size_t atLeast);

    std::vector<Block> blocks_;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t mapped_ = 0;
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
    static inline std::atomic<std::size_t> process_mapped_{0};
};

}  // namespace platform
