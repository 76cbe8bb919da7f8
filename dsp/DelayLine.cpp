#include "dsp/DelayLine.h"

#include <algorithm>

namespace DSP {

void DelayLine::Prepare(uint32_t maxDelay)
{
    if (maxDelay <= GetCapacity() && !buffer_.empty())
        return;
    buffer_.assign(size_t(maxDelay) + 1, 0.0f);
    write_ = 0;
    delay_ = std::min(delay_, maxDelay);
}

void DelayLine::SetDelay(uint32_t frames)
{
    frames = std::min(frames, GetCapacity());
    if (frames == delay_)
        return;
    delay_ = frames;
    Clear();
}

void DelayLine::Process(const float* input, float* output, uint32_t frames)
{
    if (delay_ == 0) {
        if (output != input)
            std::copy(input, input + frames, output);
        return;
    }
    const auto size = uint32_t(buffer_.size());
    uint32_t read = (write_ + size - delay_) % size;
    for (uint32_t i = 0; i < frames; ++i) {
        const float sample = input[i];
        buffer_[write_] = sample;
        output[i] = buffer_[read];
        write_ = write_ + 1 == size ? 0 : write_ + 1;
        read = read + 1 == size ? 0 : read + 1;
    }
}

void DelayLine::Clear()
{
    std::fill(buffer_.begin(), buffer_.end(), 0.0f);
    write_ = 0;
}

} // namespace DSP
