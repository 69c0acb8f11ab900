#pragma once

// Where the database keeps its records: appended one by one, never moved
// (records link to each other by address), freed together in the order they
// were made. Records sit in chunks that grow with the store up to about
// 64 KB, so the tens of thousands of recordings and items waste neither an
// allocation each nor the half-empty small blocks of a deque. The chunks come
// from the owner's bulk memory when it has one, which returns them together.

#include "platform/bulk_memory.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

template <typename T>
class TRecordStore {
    struct Chunk {
        T* records = nullptr;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };

  public:
    template <typename Value>
    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        Iterator() = default;
        Iterator(const std::vector<Chunk>* chunks, std::size_t chunk, std::size_t index)
            : chunks_(chunks), chunk_(chunk), index_(index) {}
        reference operator*() const { return (*chunks_)[chunk_].records[index_]; }
        pointer operator->() const { return &**this; }
        Iterator& operator++() {
            if (++index_ == (*chunks_)[chunk_].used) {
                ++chunk_;
                index_ = 0;
            }
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const {
            return chunk_ == other.chunk_ && index_ == other.index_;
        }

      private:
        const std::vector<Chunk>* chunks_ = nullptr;
        std::size_t chunk_ = 0;
        std::size_t index_ = 0;
    };
    using iterator = Iterator<T>;
    using const_iterator = Iterator<const T>;

    TRecordStore() = default;
    explicit TRecordStore(platform::BulkMemory* memory) : memory_(memory) {}
    TRecordStore(const TRecordStore&) = delete;
    TRecordStore& operator=(const TRecordStore&) = delete;
    ~TRecordStore() { clear(); }

    template <typename... Arguments>
    T& emplace_back(Arguments&&... arguments) {
        if (chunks_.empty() || chunks_.back().used == chunks_.back().capacity) grow();
        Chunk& chunk = chunks_.back();
        T* record = ::new (static_cast<void*>(chunk.records + chunk.used))
            T(std::forward<Arguments>(arguments)...);
        ++chunk.used;
        ++size_;
        return *record;
    }
    T& back() { return chunks_.back().records[chunks_.back().used - 1]; }
    const T& back() const { return chunks_.back().records[chunks_.back().used - 1]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    iterator begin() { return {&chunks_, 0, 0}; }
    iterator end() { return {&chunks_, chunks_.size(), 0}; }
    const_iterator begin() const { return {&chunks_, 0, 0}; }
    const_iterator end() const { return {&chunks_, chunks_.size(), 0}; }

    // The most records a chunk holds.
    static constexpr std::size_t kLargestChunk =
        std::max<std::size_t>(16, (64 * 1024) / sizeof(T));

    // Every record with its place: its chunk and its index there. Tables
    // kept beside the store find a record from its place without a search.
    template <typename Visit>
    void for_each_place(Visit visit) const {
        for (std::size_t c = 0; c < chunks_.size(); ++c)
            for (std::size_t i = 0; i < chunks_[c].used; ++i) visit(chunks_[c].records[i], c, i);
    }
    T& at_place(std::size_t chunk, std::size_t index) const {
        return chunks_[chunk].records[index];
    }

    // Takes over the records of another store sharing this one's memory, as
    // if they had been appended after this one's own: none of them moves.
    void append(TRecordStore&& other) {
        chunks_.insert(chunks_.end(), other.chunks_.begin(), other.chunks_.end());
        size_ += other.size_;
        other.chunks_.clear();
        other.size_ = 0;
    }

    void clear() {
        std::allocator<T> allocator;
        for (Chunk& chunk : chunks_) {
            for (std::size_t i = 0; i < chunk.used; ++i) chunk.records[i].~T();
            if (!memory_) allocator.deallocate(chunk.records, chunk.capacity);
        }
        chunks_.clear();
        size_ = 0;
    }

  private:
    void grow() {
        constexpr std::size_t kFirst = 16;
        Chunk chunk;
        chunk.capacity = std::clamp(size_, kFirst, kLargestChunk);
        chunks_.reserve(chunks_.size() + 1);
        chunk.records = memory_ ? static_cast<T*>(memory_->allocate(chunk.capacity * sizeof(T),
                                                                     alignof(T)))
                                : std::allocator<T>().allocate(chunk.capacity);
        chunks_.push_back(chunk);
    }

    platform::BulkMemory* memory_ = nullptr;
    std::vector<Chunk> chunks_;
    std::size_t size_ = 0;
};
