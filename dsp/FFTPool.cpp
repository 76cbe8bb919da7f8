#include "dsp/FFTPool.h"

#include <utility>

namespace DSP {

FFTPool::FFTPool(Util::String name) : name_(std::move(name)) {}

void FFTPool::Reserve(uint32_t size, uint32_t count)
{
    for (uint32_t have = GetCount(size); have < count; ++have)
        entries_.push_back({std::make_unique<FFT>(size), false});
}

FFT* FFTPool::Borrow(uint32_t size)
{
    for (auto& entry : entries_) {
        if (!entry.lent && entry.fft->GetSize() == size) {
            entry.lent = true;
            return entry.fft.get();
        }
    }
    return nullptr;
}

void FFTPool::Return(FFT* fft)
{
    for (auto& entry : entries_)
        if (entry.fft.get() == fft)
            entry.lent = false;
}

uint32_t FFTPool::GetCount(uint32_t size) const
{
    uint32_t count = 0;
    for (const auto& entry : entries_)
        count += entry.fft->GetSize() == size ? 1 : 0;
    return count;
}

} // namespace DSP
