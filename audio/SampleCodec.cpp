#include "audio/SampleCodec.h"

#include "util/ByteOrder.h"

#include <cmath>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Audio::SampleCodec {

Encoding encodingOf(uint32_t bytesPerSample, bool floatingPoint)
{
    if (floatingPoint)
        return bytesPerSample == 4 ? Encoding::Float32 : bytesPerSample == 8 ? Encoding::Float64 : Encoding::Unsupported;
    switch (bytesPerSample) {
    case 1: return Encoding::UInt8;
    case 2: return Encoding::Int16;
    case 3: return Encoding::Int24;
    case 4: return Encoding::Int32;
    default: return Encoding::Unsupported;
    }
}

namespace {

// One stored sample of each encoding: its size, and its value to and from T.
template <Encoding E>
struct Stored;

template <>
struct Stored<Encoding::UInt8> {
    static constexpr size_t kSize = 1;
    template <typename T>
    static T load(const uint8_t* p)
    {
        return T((int(*p) - 128) * 0.0078125);
    }
};

template <>
struct Stored<Encoding::Int16> {
    static constexpr size_t kSize = 2;
    template <typename T>
    static T load(const uint8_t* p)
    {
        const int16_t v = Util::loadLittleEndian<int16_t>(p);
        if constexpr (std::is_same_v<T, int16_t>)
            return v;
        else
            return T(v) * T(1.0 / 32768.0);
    }
    template <typename T>
    static void store(uint8_t* p, T value)
    {
        // Saturate first, so that the rounded value always fits.
        double scaled = double(value) * 32768.0;
        scaled = scaled >= 32767.0 ? 32767.0 : scaled <= -32768.0 ? -32768.0 : scaled == scaled ? scaled : 0.0;
        Util::storeLittleEndian(p, int16_t(std::nearbyint(scaled)));
    }
};

template <>
struct Stored<Encoding::Int24> {
    static constexpr size_t kSize = 3;
    template <typename T>
    static T load(const uint8_t* p)
    {
        const int32_t v = int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) >> 8;
        return T(v) * T(1.0 / 8388608.0);
    }
    template <typename T>
    static void store(uint8_t* p, T value)
    {
        constexpr T kHigh = T(0.9999999f);
        const T clamped = value >= kHigh ? kHigh : value <= T(-1) ? T(-1) : value == value ? value : T(0);
        const double scaled = double(clamped) * 8388608.0;
        const int32_t v = int32_t(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
    }
};

template <>
struct Stored<Encoding::Int32> {
    static constexpr size_t kSize = 4;
    template <typename T>
    static T load(const uint8_t* p)
    {
        return T(Util::loadLittleEndian<int32_t>(p)) * T(1.0 / 2147483648.0);
    }
    template <typename T>
    static void store(uint8_t* p, T value)
    {
        double scaled = double(value) * 2147483648.0;
        scaled = scaled >= 2147483647.0 ? 2147483647.0
               : scaled <= -2147483648.0 ? -2147483648.0
               : scaled == scaled        ? scaled
                                         : 0.0;
        Util::storeLittleEndian(p, int32_t(std::nearbyint(scaled)));
    }
};

// IEEE floats of either size, stored as they are.
template <typename F>
struct StoredIeee {
    static constexpr size_t kSize = sizeof(F);
    template <typename T>
    static T load(const uint8_t* p)
    {
        return T(Util::loadLittleEndian<F>(p));
    }
    template <typename T>
    static void store(uint8_t* p, T value)
    {
        Util::storeLittleEndian(p, F(value));
    }
};

template <>
struct Stored<Encoding::Float32> : StoredIeee<float> {};
template <>
struct Stored<Encoding::Float64> : StoredIeee<double> {};

// Stereo 32-bit floats, the shuttle's clip format, four frames at a time.
// Both answer the number of frames they moved; the caller does the rest.
size_t interleaveStereoFloats(const float* left, const float* right, size_t frames, uint8_t* stored)
{
    size_t f = 0;
#if defined(__SSE2__) && !defined(__BIG_ENDIAN__)
    auto* out = reinterpret_cast<float*>(stored);
    for (; f + 4 <= frames; f += 4) {
        const __m128 l = _mm_loadu_ps(left + f);
        const __m128 r = _mm_loadu_ps(right + f);
        _mm_storeu_ps(out + 2 * f, _mm_unpacklo_ps(l, r));
        _mm_storeu_ps(out + 2 * f + 4, _mm_unpackhi_ps(l, r));
    }
#else
    (void)left, (void)right, (void)frames, (void)stored;
#endif
    return f;
}

size_t deinterleaveStereoFloats(const uint8_t* stored, size_t frames, float* left, float* right)
{
    size_t f = 0;
#if defined(__SSE2__) && !defined(__BIG_ENDIAN__)
    const auto* in = reinterpret_cast<const float*>(stored);
    for (; f + 4 <= frames; f += 4) {
        const __m128 a = _mm_loadu_ps(in + 2 * f);     // l0 r0 l1 r1
        const __m128 b = _mm_loadu_ps(in + 2 * f + 4); // l2 r2 l3 r3
        _mm_storeu_ps(left + f, _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
        _mm_storeu_ps(right + f, _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    }
#else
    (void)stored, (void)frames, (void)left, (void)right;
#endif
    return f;
}

template <Encoding E, typename T>
void encodeAll(const T* samples, size_t count, uint8_t* stored)
{
    for (size_t i = 0; i < count; ++i)
        Stored<E>::store(stored + i * Stored<E>::kSize, samples[i]);
}

template <Encoding E, typename T>
void encodeChannels(const T* const* channels, uint32_t channelCount, size_t offset, size_t frames, uint8_t* stored)
{
    constexpr size_t size = Stored<E>::kSize;
    if (channelCount == 2) {
        const T* left = channels[0] + offset;
        const T* right = channels[1] + offset;
        size_t f = 0;
        if constexpr (E == Encoding::Float32 && std::is_same_v<T, float>) {
            f = interleaveStereoFloats(left, right, frames, stored);
            stored += 2 * size * f;
        }
        for (; f < frames; ++f, stored += 2 * size) {
            Stored<E>::store(stored, left[f]);
            Stored<E>::store(stored + size, right[f]);
        }
        return;
    }
    for (size_t f = 0; f < frames; ++f)
        for (uint32_t c = 0; c < channelCount; ++c, stored += size)
            Stored<E>::store(stored, channels[c][offset + f]);
}

template <Encoding E, typename T>
void decodeAll(const uint8_t* stored, size_t count, T* samples)
{
    for (size_t i = 0; i < count; ++i)
        samples[i] = Stored<E>::template load<T>(stored + i * Stored<E>::kSize);
}

template <Encoding E, typename T>
void decodeChannels(const uint8_t* stored, uint32_t channelCount, size_t frames, T* const* channels, size_t offset)
{
    constexpr size_t size = Stored<E>::kSize;
    if (channelCount == 2) {
        T* left = channels[0] + offset;
        T* right = channels[1] + offset;
        size_t f = 0;
        if constexpr (E == Encoding::Float32 && std::is_same_v<T, float>) {
            f = deinterleaveStereoFloats(stored, frames, left, right);
            stored += 2 * size * f;
        }
        for (; f < frames; ++f, stored += 2 * size) {
            left[f] = Stored<E>::template load<T>(stored);
            right[f] = Stored<E>::template load<T>(stored + size);
        }
        return;
    }
    for (size_t f = 0; f < frames; ++f)
        for (uint32_t c = 0; c < channelCount; ++c, stored += size)
            channels[c][offset + f] = Stored<E>::template load<T>(stored);
}

// Calls `run` with the encoding as a compile-time constant, for the encodings
// that `T` can be written as; false for the others.
template <typename T, typename Run>
bool withWritable(Encoding encoding, Run&& run)
{
    switch (encoding) {
    case Encoding::Int16: run(std::integral_constant<Encoding, Encoding::Int16>()); return true;
    case Encoding::Int24: run(std::integral_constant<Encoding, Encoding::Int24>()); return true;
    case Encoding::Int32: run(std::integral_constant<Encoding, Encoding::Int32>()); return true;
    case Encoding::Float32: run(std::integral_constant<Encoding, Encoding::Float32>()); return true;
    case Encoding::Float64: run(std::integral_constant<Encoding, Encoding::Float64>()); return true;
    default: return false;
    }
}

// The same for reading into `T`: 16-bit output only from 16-bit samples.
template <typename T, typename Run>
bool withReadable(Encoding encoding, Run&& run)
{
    if constexpr (std::is_same_v<T, int16_t>) {
        if (encoding != Encoding::Int16)
            return false;
        run(std::integral_constant<Encoding, Encoding::Int16>());
        return true;
    } else {
        if (encoding == Encoding::UInt8) {
            run(std::integral_constant<Encoding, Encoding::UInt8>());
            return true;
        }
        return withWritable<T>(encoding, run);
    }
}

} // namespace

template <typename T>
bool encode(Encoding encoding, const T* samples, size_t count, uint8_t* stored)
{
    return withWritable<T>(encoding, [&](auto e) { encodeAll<decltype(e)::value>(samples, count, stored); });
}

template <typename T>
bool encodeDeinterleaved(Encoding encoding, const T* const* channels, uint32_t channelCount, size_t offset,
                         size_t frames, uint8_t* stored)
{
    return withWritable<T>(encoding, [&](auto e) {
        encodeChannels<decltype(e)::value>(channels, channelCount, offset, frames, stored);
    });
}

template <typename T>
bool decode(Encoding encoding, const uint8_t* stored, size_t count, T* samples)
{
    return withReadable<T>(encoding, [&](auto e) { decodeAll<decltype(e)::value>(stored, count, samples); });
}

template <typename T>
bool decodeDeinterleaved(Encoding encoding, const uint8_t* stored, uint32_t channelCount, size_t frames,
                         T* const* channels, size_t offset)
{
    return withReadable<T>(encoding, [&](auto e) {
        decodeChannels<decltype(e)::value>(stored, channelCount, frames, channels, offset);
    });
}

template bool encode<float>(Encoding, const float*, size_t, uint8_t*);
template bool encode<double>(Encoding, const double*, size_t, uint8_t*);
template bool encodeDeinterleaved<float>(Encoding, const float* const*, uint32_t, size_t, size_t, uint8_t*);
template bool encodeDeinterleaved<double>(Encoding, const double* const*, uint32_t, size_t, size_t, uint8_t*);
template bool decode<float>(Encoding, const uint8_t*, size_t, float*);
template bool decode<double>(Encoding, const uint8_t*, size_t, double*);
template bool decode<int16_t>(Encoding, const uint8_t*, size_t, int16_t*);
template bool decodeDeinterleaved<float>(Encoding, const uint8_t*, uint32_t, size_t, float* const*, size_t);
template bool decodeDeinterleaved<double>(Encoding, const uint8_t*, uint32_t, size_t, double* const*, size_t);
template bool decodeDeinterleaved<int16_t>(Encoding, const uint8_t*, uint32_t, size_t, int16_t* const*, size_t);

} // namespace Audio::SampleCodec
