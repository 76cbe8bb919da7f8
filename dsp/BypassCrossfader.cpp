#include "dsp/BypassCrossfader.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace DSP {

void BypassCrossfader::SetLength(uint32_t frames)
{
    const bool processed = target_;
    length_ = frames;
    JumpTo(processed);
}

void BypassCrossfader::JumpTo(bool processed)
{
    target_ = processed;
    position_ = processed ? length_ : 0;
}

void BypassCrossfader::StartTowards(bool processed) { target_ = processed; }

float BypassCrossfader::GainAt(uint32_t position) const
{
    if (length_ == 0)
        return target_ ? 1.0f : 0.0f;
    const double t = double(position) / length_;
    return float(0.5 - 0.5 * std::cos(std::numbers::pi * t));
}

float BypassCrossfader::GetProcessedGain() const { return GainAt(position_); }

void BypassCrossfader::Mix(const float* const* dry, float* const* processed, uint32_t channels, uint32_t frames)
{
    uint32_t done = 0;
    while (done < frames) {
        if (IsSettled()) {
            if (!target_)
                for (uint32_t ch = 0; ch < channels; ++ch)
                    std::copy(dry[ch] + done, dry[ch] + frames, processed[ch] + done);
            return;
        }
        const float g = GainAt(position_);
        for (uint32_t ch = 0; ch < channels; ++ch)
            processed[ch][done] = dry[ch][done] + g * (processed[ch][done] - dry[ch][done]);
        position_ = target_ ? position_ + 1 : position_ - 1;
        ++done;
    }
}

} // namespace DSP
