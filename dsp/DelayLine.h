#pragma once
#include <cstdint>
#include <vector>

namespace DSP {

// Delays one channel by a whole number of frames, up to a capacity fixed ahead
// of processing. A change of the delay clears what the line holds, so no stale
// audio from before the change comes out.
class DelayLine {
public:
    // Room for delays up to `maxDelay` frames; grows only. [ui-thread] & processing lock
    void Prepare(uint32_t maxDelay);
    uint32_t GetCapacity() const { return uint32_t(buffer_.empty() ? 0 : buffer_.size() - 1); }

    // Clamped to the capacity. [audio-thread]
    void SetDelay(uint32_t frames);
    uint32_t GetDelay() const { return delay_; }

    // `output` may be `input`. [audio-thread]
    void Process(const float* input, float* output, uint32_t frames);
    void Clear(); // [audio-thread]

private:
    std::vector<float> buffer_;
    uint32_t write_ = 0;
    uint32_t delay_ = 0;
};

} // namespace DSP
