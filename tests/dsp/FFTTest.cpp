#include <gtest/gtest.h>

#include "TestHost.h"
#include "dsp/FFT.h"
#include "util/PoolAllocator.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

namespace {

std::vector<std::complex<double>> naiveDft(const std::vector<std::complex<double>>& x)
{
    const size_t n = x.size();
    std::vector<std::complex<double>> out(n);
    for (size_t k = 0; k < n; ++k)
        for (size_t t = 0; t < n; ++t)
            out[k] += x[t] * std::polar(1.0, -2.0 * std::numbers::pi * double(k * t % n) / double(n));
    return out;
}

TEST(FFT, MatchesTheDefinitionAndInvertsForEverySize)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (uint32_t size : {2u, 4u, 8u, 64u, 512u}) {
        SCOPED_TRACE(size);
        std::vector<std::complex<double>> x(size);
        for (auto& v : x)
            v = {value(random), value(random)};
        const auto expected = naiveDft(x);
        DSP::FFT fft(size);
        auto y = x;
        fft.ForwardComplex(y.data());
        for (uint32_t k = 0; k < size; ++k)
            ASSERT_LT(std::abs(y[k] - expected[k]), 1e-9 * size) << k;
        fft.InverseComplex(y.data());
        for (uint32_t k = 0; k < size; ++k)
            ASSERT_LT(std::abs(y[k] - x[k]), 1e-12 * size) << k;
    }
}

TEST(FFT, RealSignalsGoToTheirHalfSpectrumAndBack)
{
    constexpr uint32_t kSize = 256;
    DSP::FFT fft(kSize);
    std::vector<float> signal(kSize), back(kSize);
    for (uint32_t i = 0; i < kSize; ++i)
        signal[i] = float(std::sin(2.0 * std::numbers::pi * 5.0 * i / kSize));
    std::vector<std::complex<float>> spectrum(kSize / 2 + 1);
    fft.ForwardReal(signal.data(), spectrum.data());
    EXPECT_NEAR(std::abs(spectrum[5]), kSize / 2.0, 1e-3);
    EXPECT_NEAR(std::abs(spectrum[4]), 0.0, 1e-3);
    fft.InverseReal(spectrum.data(), back.data());
    for (uint32_t i = 0; i < kSize; ++i)
        ASSERT_NEAR(back[i], signal[i], 1e-5f) << i;
}

TEST(FFT, SizesThatAreNoPowerOfTwoAreRefused)
{
    for (uint32_t size : {0u, 1u, 3u, 100u})
        EXPECT_THROW(DSP::FFT{size}, std::invalid_argument) << size;
}

TEST(ElementHostPools, TransformsAreLentOnceAndComeBack)
{
    DspTest::TestHost host;
    host.ReserveFFT(64, 2);
    DSP::FFT* first = host.BorrowFFT(64);
    DSP::FFT* second = host.BorrowFFT(64);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(host.BorrowFFT(64), nullptr);
    EXPECT_EQ(host.BorrowFFT(128), nullptr);
    host.ReturnFFT(first);
    EXPECT_EQ(host.BorrowFFT(64), first);
}

TEST(ElementHostPools, ScratchIsAlignedStackedAndGivenBackByMark)
{
    DspTest::TestHost host;
    EXPECT_EQ(host.GetPoolAllocator().GetName(), "ElementHost PoolAllocator");
    host.ReserveScratch(1000);
    const auto mark = host.GetPoolMark();
    void* a = host.AllocateScratch(10);
    void* b = host.AllocateScratch(100);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % Util::PoolAllocator::kAlignment, 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % Util::PoolAllocator::kAlignment, 0u);
    EXPECT_EQ(host.AllocateScratch(2000), nullptr); // more than is left: no heap
    host.FreeScratch(a, 10);                         // not the last block: stays until the mark
    EXPECT_EQ(host.GetPoolAllocator().GetUsed(), 32u + 128u);
    host.FreeScratch(b, 100);
    EXPECT_EQ(host.GetPoolAllocator().GetUsed(), 32u);
    host.AllocateScratch(64);
    host.RestorePoolMark(mark);
    EXPECT_EQ(host.GetPoolAllocator().GetUsed(), 0u);
}

TEST(ElementHostPools, ThePoolCannotGrowWhileScratchIsTaken)
{
    Util::PoolAllocator pool("p", 64);
    ASSERT_NE(pool.Allocate(32), nullptr);
    EXPECT_THROW(pool.Reserve(4096), std::logic_error);
    pool.RestoreMark(0);
    pool.Reserve(4096);
    EXPECT_EQ(pool.GetCapacity(), 4096u);
}

} // namespace
