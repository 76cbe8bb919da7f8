#pragma once
#include <atomic>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace Atomic {

// A fixed-capacity queue between exactly one producer thread and one consumer
// thread. Slots are made at construction; after that nothing allocates and
// nothing locks: the producer fills a slot and publishes it with one release
// store, the consumer reads slots in place and frees them with another. Each
// side keeps its own reading of the other side's count and reads the shared one
// again only when its reading says full (or empty).
//
// Counts are 64-bit and never wrap, so Pushed() and Popped() also number the
// items that travel through the queue.
template <typename T>
class SpscQueue {
    static_assert(std::is_trivially_copyable_v<T>, "items are copied into preallocated slots");

public:
    // Rounded up to a power of two. [any-thread]
    explicit SpscQueue(uint32_t capacity) : slots_(std::bit_ceil(std::max<uint32_t>(capacity, 2)))
    {
        if (capacity == 0)
            throw std::invalid_argument("a queue needs at least one slot");
        mask_ = slots_.size() - 1;
    }
    SpscQueue(const SpscQueue&) = delete;
    SpscQueue& operator=(const SpscQueue&) = delete;

    uint32_t Capacity() const { return uint32_t(slots_.size()); } // [any-thread]

    // False when the queue is full. [producer]
    bool TryPush(const T& item)
    {
        const uint64_t head = head_.load(std::memory_order_relaxed);
        if (head - tailSeen_ == slots_.size()) {
            tailSeen_ = tail_.load(std::memory_order_acquire);
            if (head - tailSeen_ == slots_.size())
                return false;
        }
        slots_[head & mask_] = item;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Free slots; never more than there are. [producer]
    uint32_t FreeSlots()
    {
        tailSeen_ = tail_.load(std::memory_order_acquire);
        return uint32_t(slots_.size() - (head_.load(std::memory_order_relaxed) - tailSeen_));
    }

    // The item `index` places behind the front, or null when fewer are queued. [consumer]
    const T* Peek(uint32_t index = 0)
    {
        const uint64_t tail = tail_.load(std::memory_order_relaxed);
        if (headSeen_ - tail <= index) {
            headSeen_ = head_.load(std::memory_order_acquire);
            if (headSeen_ - tail <= index)
                return nullptr;
        }
        return &slots_[(tail + index) & mask_];
    }

    // Frees the `count` front items, which Peek has shown. [consumer]
    void Pop(uint32_t count = 1) { tail_.store(tail_.load(std::memory_order_relaxed) + count, std::memory_order_release); }

    uint64_t Pushed() const { return head_.load(std::memory_order_acquire); } // [any-thread]
    uint64_t Popped() const { return tail_.load(std::memory_order_acquire); } // [any-thread]

private:
    static constexpr std::size_t kCacheLine = 64;

    std::vector<T> slots_;
    uint64_t mask_ = 0;
    // Each count sits on a cache line of its own, beside the reading that only
    // its own side keeps of the other count.
    alignas(kCacheLine) std::atomic<uint64_t> head_{0};
    uint64_t tailSeen_ = 0; // the producer's
    alignas(kCacheLine) std::atomic<uint64_t> tail_{0};
    uint64_t headSeen_ = 0; // the consumer's
};

} // namespace Atomic
