#pragma once
#include <cstddef>
#include <cstdint>

namespace Audio::SampleCodec {

// How samples are stored in a WAV file's data chunk (little-endian).
enum class Encoding {
    UInt8,   // unsigned, 128 is silence
    Int16,
    Int24,   // three bytes
    Int32,
    Float32,
    Float64,
    Unsupported,
};

Encoding encodingOf(uint32_t bytesPerSample, bool floatingPoint);

// Conversions between stored samples and float, double or 16-bit values.
// To integers: 16 and 32 bits scale by 2^15 and 2^31, round to nearest and
// saturate; 24 bits clamp to [-1.0, 0.9999999], scale by 2^23 and round half
// away from zero. From integers: scale by 2^-15, 2^-23, 2^-31, and 8-bit
// samples become (value - 128) / 128. 16-bit values to or from Int16 are
// copied. Nothing allocates. [any-thread]
//
// T is float or double for encoding; float, double or int16_t for decoding.
// `encode`/`decode` convert `count` interleaved samples. The deinterleaved
// forms move `frames` frames between interleaved storage and one array per
// channel, starting at index `offset` of each channel array.
// Each answers false, converting nothing, for a pair it does not convert.
template <typename T>
bool encode(Encoding encoding, const T* samples, size_t count, uint8_t* stored);
template <typename T>
bool encodeDeinterleaved(Encoding encoding, const T* const* channels, uint32_t channelCount, size_t offset,
                         size_t frames, uint8_t* stored);
template <typename T>
bool decode(Encoding encoding, const uint8_t* stored, size_t count, T* samples);
template <typename T>
bool decodeDeinterleaved(Encoding encoding, const uint8_t* stored, uint32_t channelCount, size_t frames,
                         T* const* channels, size_t offset);

} // namespace Audio::SampleCodec
