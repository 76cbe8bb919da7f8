#pragma once
#include <cstdint>
#include <vector>

namespace DSP {

// The state of one processing path (region) of an element: work buffers sized
// for the host's largest block (one per channel, main and extra buses), and the
// count of frames processed since the last reset.
class RegionRecord {
public:
    RegionRecord(uint32_t channels, uint32_t maxBlockSize);

    // Grows the work buffers; never shrinks. [ui-thread] & processing lock
    void EnsureCapacity(uint32_t channels, uint32_t maxBlockSize);
    uint32_t GetChannelCount() const { return uint32_t(work_.size()); }
    uint32_t GetBlockCapacity() const { return blockCapacity_; }
    // Silence-initialised scratch for one channel; null beyond the channel count.
    float* GetWorkBuffer(uint32_t channel);

    // The next sub-block's length: at most `maxBlock` of the `remaining` frames.
    static uint32_t NextSubBlock(uint32_t remaining, uint32_t maxBlock);

    // Ends one block: counts its frames and keeps whether its output is valid.
    void Finish(uint32_t frames, bool outputValid); // [audio-thread]
    void Reset();                                   // [audio-thread]
    uint64_t GetFramesProcessed() const { return framesProcessed_; }
    bool HasValidOutput() const { return outputValid_; }

private:
    std::vector<std::vector<float>> work_;
    uint32_t blockCapacity_ = 0;
    uint64_t framesProcessed_ = 0;
    bool outputValid_ = false;
};

} // namespace DSP
