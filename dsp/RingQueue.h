#pragma once
#include "platform/CriticalSection.h"
#include "util/Text.h"

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace Atomic {

// The queue that carries commands between threads: N slots holding at most
// N - 1 item pointers, an atomic read and write index, a write lock that
// serialises pushes and a read lock that serialises pops, so a push and a pop
// run at the same time. A growable queue doubles when a push finds it full; a
// fixed one rejects the push and never allocates.
//
// Items are passed as pointers and never copied or owned by the queue.
template <typename T>
class RingQueue {
public:
    RingQueue(const Util::NameRecord& name, uint32_t capacity, bool growable)
        : name_(name), growable_(growable), slots_(capacity, nullptr), capacity_(capacity),
          readLock_(Util::format("%1 Read Lock", name.text)),
          writeLock_(Util::format("%1 Write Lock", name.text))
    {
        if (capacity < 2)
            throw std::invalid_argument(Util::format("%1: a queue needs at least 2 slots", name.text));
    }
    RingQueue(const RingQueue&) = delete;
    RingQueue& operator=(const RingQueue&) = delete;

    const Util::NameRecord& GetName() const { return name_; }
    bool IsGrowable() const { return growable_; }
    const Platform::CriticalSection& GetReadLock() const { return readLock_; }
    const Platform::CriticalSection& GetWriteLock() const { return writeLock_; }

    // Slots (the queue holds one less). [any-thread]
    uint32_t GetCapacity() const { return capacity_.load(std::memory_order_acquire); }
    // [any-thread]; a snapshot while others push and pop
    bool IsEmpty() const
    {
        return read_.load(std::memory_order_acquire) == write_.load(std::memory_order_acquire);
    }

    // False only when a fixed queue is full. A growable queue allocates when it
    // grows, on the pushing thread. [any-thread]
    bool Push(T* item)
    {
        Platform::ScopedLock lock(writeLock_);
        uint32_t write = write_.load(std::memory_order_relaxed);
        uint32_t next = Next(write);
        // The read index is re-read only when its last reading says "full": an
        // older reading can only make the queue look fuller than it is.
        while (next == readSeen_ && next == (readSeen_ = read_.load(std::memory_order_acquire))) {
            if (!growable_)
                return false;
            Grow();
            write = write_.load(std::memory_order_relaxed);
            next = Next(write);
        }
        slots_[write] = item;
        write_.store(next, std::memory_order_release);
        return true;
    }

    // The oldest item, or null when the queue is empty. Waits while another
    // thread pops or grows the queue. [any-thread], not audio
    T* Pop()
    {
        // An empty queue answers without the lock: every block asks each FIFO once,
        // and almost always finds it empty. A push racing with this check is taken
        // by the next pop, as if this one had come a moment earlier.
        if (IsEmpty())
            return nullptr;
        Platform::ScopedLock lock(readLock_);
        return PopLocked();
    }

    // As Pop, but it only tries the read lock: while another thread pops or a
    // push grows the queue (copying the slots under that lock), it answers null
    // and the item waits for the caller's next try. [audio-thread]
    T* TryPop()
    {
        if (IsEmpty())
            return nullptr;
        Platform::TryLock lock(readLock_, std::try_to_lock);
        return lock.owns_lock() ? PopLocked() : nullptr;
    }

private:
    uint32_t Next(uint32_t index) const { return index + 1 == slots_.size() ? 0 : index + 1; }

    // With the read lock held.
    T* PopLocked()
    {
        const uint32_t read = read_.load(std::memory_order_relaxed);
        // Likewise an older reading of the write index can only look emptier.
        if (read == writeSeen_ && read == (writeSeen_ = write_.load(std::memory_order_acquire)))
            return nullptr;
        T* item = slots_[read];
        // Only holders of the read lock move the read index, so nothing can have
        // moved it since the load: a release store does what a compare-exchange
        // would, without its locked instruction.
        read_.store(Next(read), std::memory_order_release);
        return item;
    }

    // With the write lock held: twice the slots, the oldest item first.
    void Grow()
    {
        const auto oldSize = uint32_t(slots_.size());
        std::vector<T*> grown(size_t(oldSize) * 2, nullptr);
        Platform::ScopedLock lock(readLock_);
        const uint32_t read = read_.load(std::memory_order_relaxed);
        const uint32_t write = write_.load(std::memory_order_relaxed);
        const uint32_t count = (write + oldSize - read) % oldSize;
        for (uint32_t i = 0; i < count; ++i)
            grown[i] = slots_[(read + i) % oldSize];
        slots_.swap(grown);
        read_.store(0, std::memory_order_release);
        write_.store(count, std::memory_order_release);
        readSeen_ = 0;
        writeSeen_ = 0;
        capacity_.store(uint32_t(slots_.size()), std::memory_order_release);
    }

    // Each index, and each side's lock with its private reading of the other
    // side's index, sits on cache lines of its own: a thread spinning on one
    // index does not disturb the other side's lock.
    static constexpr std::size_t kCacheLine = 64;

    Util::NameRecord name_;
    bool growable_;
    std::vector<T*> slots_;
    std::atomic<uint32_t> capacity_;
    alignas(kCacheLine) std::atomic<uint32_t> read_{0};
    alignas(kCacheLine) std::atomic<uint32_t> write_{0};
    alignas(kCacheLine) uint32_t writeSeen_ = 0; // under the read lock
    Platform::CriticalSection readLock_;
    alignas(kCacheLine) uint32_t readSeen_ = 0; // under the write lock
    Platform::CriticalSection writeLock_;
};

} // namespace Atomic
