#pragma once
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

namespace Atomic {

// Sample storage between one producer and one consumer, handed out in
// contiguous spans, so that a span can go to a file or come from one in a
// single call. A span that would cross the end of the storage starts at its
// beginning instead; the tail it skips counts as used until the consumer
// releases past it. Positions are 64-bit counts of elements that never wrap.
//
// The ring keeps no list of spans: the records that travel beside it (in an
// SpscQueue) name each span by position and size, and pushing such a record
// publishes the span's contents to the consumer.
template <typename T>
class SpanRing {
public:
    // When the storage is made: with the ring, or by the producer before its
    // first span (MakeStorage), so that a ring that may never carry anything
    // costs no memory until it does.
    enum class Storage { Now, Later };

    // Rounded up to a power of two. [any-thread], not the audio thread
    explicit SpanRing(uint32_t capacity, Storage storage = Storage::Now)
        : capacity_(std::bit_ceil(std::max<uint32_t>(capacity, 2))), mask_(capacity_ - 1)
    {
        if (capacity == 0)
            throw std::invalid_argument("a ring needs room");
        if (storage == Storage::Now)
            MakeStorage();
    }
    SpanRing(const SpanRing&) = delete;
    SpanRing& operator=(const SpanRing&) = delete;

    // Makes the storage once, every page of it written, so that neither side
    // takes a page fault on it later. The consumer learns of it through the
    // first record that names a span, as of the span's contents. Throws
    // std::bad_alloc. [producer], never the audio thread
    void MakeStorage()
    {
        if (storage_)
            return;
        storage_ = std::make_unique<T[]>(capacity_); // value-initialised: every page touched
    }
    bool HasStorage() const { return storage_ != nullptr; } // [producer]

    uint32_t Capacity() const { return capacity_; } // [any-thread]
    // The largest span that always fits once the consumer has released
    // everything. [any-thread]
    uint32_t MaxSpan() const { return Capacity() / 2; }

    // Where a span of `count` elements would start, or nothing while the
    // consumer still holds too much. Reserves nothing until Commit. [producer],
    // once the storage is made
    std::optional<uint64_t> Reserve(uint32_t count)
    {
        uint64_t start = written_;
        const uint64_t offset = start & mask_;
        if (offset + count > capacity_)
            start += capacity_ - offset;
        if (start + count - releasedSeen_ > capacity_) {
            releasedSeen_ = released_.load(std::memory_order_acquire);
            if (start + count - releasedSeen_ > capacity_)
                return std::nullopt;
        }
        return start;
    }
    void Commit(uint64_t start, uint32_t count) { written_ = start + count; } // [producer]

    // Everything before `end` is free again. [consumer]
    void Release(uint64_t end) { released_.store(end, std::memory_order_release); }

    // The element at a position inside a span the caller holds. [either side]
    T* At(uint64_t position) { return storage_.get() + (position & mask_); }

    // Elements the producer has committed and the consumer not yet released. [producer]
    uint64_t Held() const { return written_ - released_.load(std::memory_order_acquire); }

private:
    static constexpr std::size_t kCacheLine = 64;

    const uint32_t capacity_;
    const uint64_t mask_;
    std::unique_ptr<T[]> storage_;
    uint64_t written_ = 0;      // the producer's
    uint64_t releasedSeen_ = 0; // the producer's reading of released_
    alignas(kCacheLine) std::atomic<uint64_t> released_{0};
};

} // namespace Atomic
