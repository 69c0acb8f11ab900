#pragma once

namespace platform {

// Large pages for the heap, where the system offers them on request
// (transparent huge pages). Starting up writes tens of megabytes of fresh
// memory: with 4 KB pages every first touch of a page is a fault, and on a
// virtual machine a trap to the host that costs more than the data written
// on it; a 2 MB page takes one. Nothing changes where the system has no
// large pages, and contents are never touched.
//
// For the main thread's heap, at the very start: the heap grows in large
// steps from then on, each step on large pages.
void use_large_pages_for_heap();
// For the heap of the calling thread, which the allocator keeps apart from
// the main thread's.
void use_large_pages_for_this_threads_heap();

// Brings a read-only file mapping's pages into the process in one call,
// where the system can: reading a large file through its mapping would
// otherwise fault on every few pages, each fault a trap to the host on a
// virtual machine. The contents stay as they are; failing changes nothing.
void map_file_pages_now(const void* data, unsigned long long size);

}  // namespace platform
