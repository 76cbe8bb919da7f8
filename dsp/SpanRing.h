#pragma once
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

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
    // Rounded up to a power of two. [any-thread]
    explicit SpanRing(uint32_t capacity) : storage_(std::bit_ceil(std::max<uint32_t>(capacity, 2)))
    {
        if (capacity == 0)
            throw std::invalid_argument("a ring needs room");
        mask_ = storage_.size() - 1;
    }
    SpanRing(const SpanRing&) = delete;
    SpanRing& operator=(const SpanRing&) = delete;

    uint32_t Capacity() const { return uint32_t(storage_.size()); } // [any-thread]
    // The largest span that always fits once the consumer has released
    // everything. [any-thread]
    uint32_t MaxSpan() const { return Capacity() / 2; }

    // Where a span of `count` elements would start, or nothing while the
    // consumer still holds too much. Reserves nothing until Commit. [producer]
    std::optional<uint64_t> Reserve(uint32_t count)
    {
        uint64_t start = written_;
        const uint64_t offset = start & mask_;
        if (offset + count > storage_.size())
            start += storage_.size() - offset;
        if (start + count - releasedSeen_ > storage_.size()) {
            releasedSeen_ = released_.load(std::memory_order_acquire);
            if (start + count - releasedSeen_ > storage_.size())
                return std::nullopt;
        }
        return start;
    }
    void Commit(uint64_t start, uint32_t count) { written_ = start + count; } // [producer]

    // Everything before `end` is free again. [consumer]
    void Release(uint64_t end) { released_.store(end, std::memory_order_release); }

    // The element at a position inside a span the caller holds. [either side]
    T* At(uint64_t position) { return storage_.data() + (position & mask_); }

    // Elements the producer has committed and the consumer not yet released. [producer]
    uint64_t Held() const { return written_ - released_.load(std::memory_order_acquire); }

private:
    static constexpr std::size_t kCacheLine = 64;

    std::vector<T> storage_;
    uint64_t mask_ = 0;
    uint64_t written_ = 0;      // the producer's
    uint64_t releasedSeen_ = 0; // the producer's reading of released_
    alignas(kCacheLine) std::atomic<uint64_t> released_{0};
};

} // namespace Atomic
