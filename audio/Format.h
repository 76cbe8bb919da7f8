#pragma once
#include <cstdint>

namespace Audio {

// The sample format of a WAV file: what the encoder is asked to write and what
// the decoder finds.
struct Format {
    uint32_t channels = 0;
    uint32_t bytesPerSample = 0; // 1, 2, 3, 4 or 8
    uint32_t sampleRate = 0;     // frames per second
    bool floatingPoint = false;  // IEEE float samples
    uint32_t channelMask = 0;    // speaker positions, written only in the extensible format

    uint64_t BytesPerFrame() const { return uint64_t(bytesPerSample) * channels; }
    bool operator==(const Format&) const = default;
};

} // namespace Audio
