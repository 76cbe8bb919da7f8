#include <gtest/gtest.h>

#include "TestElements.h"
#include "TestWrapper.h"

// The instance's pools, from which its elements take scratch memory and
// transforms on the audio thread, and the statistics that count what they took.
TEST(InstancePools, ElementsTakeFromTheInstancesNamedPoolsAndEveryTakeIsCounted)
{
    TestWrapper wrapper;
    TestElementFactory factory;
    Plugin plugin(wrapper.creation(), factory);
    DSP::ElementHost& host = plugin;
    EXPECT_EQ(host.GetPoolAllocator().GetName(), "PluginMemoryPool");
    EXPECT_EQ(host.GetFFTPool().GetName(), "PluginFFTPool");
    const auto& statistics = host.GetAllocationStatistics();
    EXPECT_EQ(statistics.GetName(), "Plugin Memory Allocs");

    ASSERT_EQ(Entry::call(plugin, 5, 1, nullptr), 0); // activation sizes the scratch pool for the elements
    const std::size_t capacity = host.GetPoolAllocator().GetCapacity();
    ASSERT_GT(capacity, 256u);
    host.ReserveFFT(512, 1);

    const auto mark = host.GetPoolMark();
    ASSERT_NE(host.AllocateScratch(100), nullptr);
    ASSERT_NE(host.AllocateScratch(156), nullptr);
    EXPECT_EQ(host.AllocateScratch(capacity), nullptr);
    DSP::FFT* fft = host.BorrowFFT(512);
    ASSERT_NE(fft, nullptr);
    EXPECT_EQ(host.BorrowFFT(512), nullptr); // the only one is lent
    host.ReturnFFT(fft);
    host.RestorePoolMark(mark);

    EXPECT_EQ(statistics.GetAllocations(), 3u);
    EXPECT_EQ(statistics.GetFailures(), 2u);
    EXPECT_EQ(statistics.GetBytes(), 256u);
    EXPECT_EQ(statistics.GetPeakBytesInUse(), Util::PoolAllocator::RoundUp(100) + Util::PoolAllocator::RoundUp(156));
}
