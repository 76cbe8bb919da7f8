#include "util/AllocationStatistics.h"

namespace Util {

void AllocationStatistics::Allocated(std::size_t bytes, std::size_t inUse)
{
    allocations_.fetch_add(1, std::memory_order_relaxed);
    bytes_.fetch_add(bytes, std::memory_order_relaxed);
    uint64_t peak = peak_.load(std::memory_order_relaxed);
    while (inUse > peak && !peak_.compare_exchange_weak(peak, inUse, std::memory_order_relaxed)) {
    }
}

void AllocationStatistics::Failed() { failures_.fetch_add(1, std::memory_order_relaxed); }

} // namespace Util
