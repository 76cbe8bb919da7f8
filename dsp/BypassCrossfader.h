#pragma once
#include <cstdint>

namespace DSP {

// Fades between the dry (bypassed) and the processed signal over a fixed number
// of frames, with a raised-cosine curve whose dry and processed gains always add
// up to 1 (the dry signal is latency-aligned, so the two are correlated).
class BypassCrossfader {
public:
    void SetLength(uint32_t frames);
    uint32_t GetLength() const { return length_; }

    // Settles at once on the processed (true) or dry (false) end.
    void JumpTo(bool processed);
    // Starts moving towards an end from wherever the fade stands.
    void StartTowards(bool processed);
    bool GetTarget() const { return target_; }
    bool IsSettled() const { return position_ == (target_ ? length_ : 0); }
    // The processed signal's gain now (0 to 1).
    float GetProcessedGain() const;

    // Writes dry * (1 - g) + processed * g into `processed`, channel by channel,
    // advancing the fade one step per frame. [audio-thread]
    void Mix(const float* const* dry, float* const* processed, uint32_t channels, uint32_t frames);

private:
    float GainAt(uint32_t position) const;

    uint32_t length_ = 0;
    uint32_t position_ = 0;
    bool target_ = true;
};

} // namespace DSP
