#pragma once
#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace Atomic {

// A fixed-capacity queue that any number of threads push to and one thread
// pops from, without a lock: each slot carries a sequence number that says
// whether it is free for the push of a given turn or filled for the pop of
// that turn. A pusher claims a turn with one compare-exchange, so no pusher
// ever waits for another to leave a critical section; the audio thread may push.
template <typename T>
class MpscQueue {
    static_assert(std::is_trivially_copyable_v<T>, "items are copied into preallocated slots");

public:
    // Rounded up to a power of two. [any-thread]
    explicit MpscQueue(uint32_t capacity)
        : size_(std::bit_ceil(std::max<uint32_t>(capacity, 2))), cells_(std::make_unique<Cell[]>(size_))
    {
        if (capacity == 0)
            throw std::invalid_argument("a queue needs at least one slot");
        for (uint64_t i = 0; i < size_; ++i)
            cells_[i].sequence.store(i, std::memory_order_relaxed);
    }
    MpscQueue(const MpscQueue&) = delete;
    MpscQueue& operator=(const MpscQueue&) = delete;

    // False when the queue is full. [any-thread]
    bool TryPush(const T& item)
    {
        uint64_t turn = enqueue_.load(std::memory_order_relaxed);
        for (;;) {
            Cell& cell = cells_[turn & (size_ - 1)];
            const uint64_t sequence = cell.sequence.load(std::memory_order_acquire);
            const auto lead = int64_t(sequence - turn);
            if (lead < 0)
                return false; // the slot still holds the item of the previous round
            if (lead > 0) {
                turn = enqueue_.load(std::memory_order_relaxed); // another pusher took this turn
                continue;
            }
            if (enqueue_.compare_exchange_weak(turn, turn + 1, std::memory_order_relaxed)) {
                cell.item = item;
                cell.sequence.store(turn + 1, std::memory_order_release);
                return true;
            }
        }
    }

    // The oldest item, when its pusher has finished storing it. [consumer]
    bool TryPop(T& item)
    {
        Cell& cell = cells_[dequeue_ & (size_ - 1)];
        if (cell.sequence.load(std::memory_order_acquire) != dequeue_ + 1)
            return false;
        item = cell.item;
        cell.sequence.store(dequeue_ + size_, std::memory_order_release);
        ++dequeue_;
        return true;
    }

    // Whether TryPop would give an item now. [consumer]
    bool HasItem() const
    {
        return cells_[dequeue_ & (size_ - 1)].sequence.load(std::memory_order_acquire) == dequeue_ + 1;
    }

private:
    struct Cell {
        std::atomic<uint64_t> sequence{0};
        T item{};
    };
    static constexpr std::size_t kCacheLine = 64;

    const uint64_t size_;
    std::unique_ptr<Cell[]> cells_;
    alignas(kCacheLine) std::atomic<uint64_t> enqueue_{0};
    alignas(kCacheLine) uint64_t dequeue_ = 0; // the consumer's
};

} // namespace Atomic
