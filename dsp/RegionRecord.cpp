#include "dsp/RegionRecord.h"

#include <algorithm>

namespace DSP {

RegionRecord::RegionRecord(uint32_t channels, uint32_t maxBlockSize) { EnsureCapacity(channels, maxBlockSize); }

void RegionRecord::EnsureCapacity(uint32_t channels, uint32_t maxBlockSize)
{
    blockCapacity_ = std::max(blockCapacity_, maxBlockSize);
    if (work_.size() < channels)
        work_.resize(channels);
    for (auto& buffer : work_)
        if (buffer.size() < blockCapacity_)
            buffer.resize(blockCapacity_, 0.0f);
}

float* RegionRecord::GetWorkBuffer(uint32_t channel)
{
    return channel < work_.size() ? work_[channel].data() : nullptr;
}

uint32_t RegionRecord::NextSubBlock(uint32_t remaining, uint32_t maxBlock)
{
    return maxBlock == 0 ? remaining : std::min(remaining, maxBlock);
}

void RegionRecord::Finish(uint32_t frames, bool outputValid)
{
    framesProcessed_ += frames;
    outputValid_ = outputValid;
}

void RegionRecord::Reset()
{
    framesProcessed_ = 0;
    outputValid_ = false;
}

} // namespace DSP
