#pragma once
// Test signals and the values they read back as after storage, computed
// independently of the codec under test.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace TestSupport {

// Interleaved frames: a ramp through the whole range and `overshoot` beyond
// it at both ends, a different phase per channel.
inline std::vector<float> rampSignal(size_t frames, size_t channels, float overshoot = 0.1f)
{
    std::vector<float> samples(frames * channels);
    const float span = 2.0f + 2.0f * overshoot;
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = -1.0f - overshoot + span * float(i) / float(samples.size() - 1);
    return samples;
}

// What `value` reads back as from an integer file of `bytes` per sample, or
// from a float file.
inline float quantised(float value, uint32_t bytes, bool floatingPoint)
{
    if (floatingPoint)
        return value;
    const double clamped = std::clamp(double(value), -1.0, 1.0);
    switch (bytes) {
    case 2: return float(std::clamp(std::nearbyint(clamped * 32768.0), -32768.0, 32767.0) / 32768.0);
    case 3: return float(std::round(std::min(clamped, 0.99999988) * 8388608.0) / 8388608.0);
    default: return float(std::clamp(std::nearbyint(clamped * 2147483648.0), -2147483648.0, 2147483647.0) / 2147483648.0);
    }
}

} // namespace TestSupport
