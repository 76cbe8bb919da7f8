#pragma once
#include "util/Text.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace Util {

// Named counts of what a pool handed out: blocks given, requests it could not
// meet, bytes given in all, and the most it ever had out at once. Recording
// neither allocates nor waits. [any-thread]
class AllocationStatistics {
public:
    explicit AllocationStatistics(String name) : name_(std::move(name)) {}
    AllocationStatistics(const AllocationStatistics&) = delete;
    AllocationStatistics& operator=(const AllocationStatistics&) = delete;

    const String& GetName() const { return name_; }

    // A block of `bytes` was given; the pool now has `inUse` bytes out.
    void Allocated(std::size_t bytes, std::size_t inUse);
    void Failed();

    uint64_t GetAllocations() const { return allocations_.load(std::memory_order_relaxed); }
    uint64_t GetFailures() const { return failures_.load(std::memory_order_relaxed); }
    uint64_t GetBytes() const { return bytes_.load(std::memory_order_relaxed); }
    uint64_t GetPeakBytesInUse() const { return peak_.load(std::memory_order_relaxed); }

private:
    String name_;
    std::atomic<uint64_t> allocations_{0};
    std::atomic<uint64_t> failures_{0};
    std::atomic<uint64_t> bytes_{0};
    std::atomic<uint64_t> peak_{0};
};

} // namespace Util
