#include "dsp/FFT.h"

#include "util/Text.h"

#include <numbers>
#include <stdexcept>
#include <utility>

namespace DSP {

FFT::FFT(uint32_t size) : size_(size)
{
    if (size < 2 || (size & (size - 1)) != 0)
        throw std::invalid_argument(Util::format("FFT size %1 is not a power of two", size));
    uint32_t bits = 0;
    while ((1u << bits) < size)
        ++bits;
    bitReversed_.resize(size);
    for (uint32_t i = 0; i < size; ++i) {
        uint32_t r = 0;
        for (uint32_t b = 0; b < bits; ++b)
            r |= ((i >> b) & 1u) << (bits - 1 - b);
        bitReversed_[i] = r;
    }
    twiddles_.resize(size / 2);
    for (uint32_t k = 0; k < size / 2; ++k)
        twiddles_[k] = std::polar(1.0, -2.0 * std::numbers::pi * k / size);
    work_.resize(size);
}

void FFT::Transform(std::complex<double>* data, bool inverse) const
{
    for (uint32_t i = 0; i < size_; ++i)
        if (i < bitReversed_[i])
            std::swap(data[i], data[bitReversed_[i]]);
    for (uint32_t span = 1; span < size_; span *= 2) {
        const uint32_t stride = size_ / (2 * span);
        for (uint32_t start = 0; start < size_; start += 2 * span) {
            for (uint32_t k = 0; k < span; ++k) {
                const auto w = inverse ? std::conj(twiddles_[k * stride]) : twiddles_[k * stride];
                const auto odd = w * data[start + k + span];
                data[start + k + span] = data[start + k] - odd;
                data[start + k] += odd;
            }
        }
    }
}

void FFT::ForwardComplex(std::complex<double>* data) const { Transform(data, false); }

void FFT::InverseComplex(std::complex<double>* data) const
{
    Transform(data, true);
    const double scale = 1.0 / size_;
    for (uint32_t i = 0; i < size_; ++i)
        data[i] *= scale;
}

void FFT::ForwardReal(const float* input, std::complex<float>* spectrum)
{
    for (uint32_t i = 0; i < size_; ++i)
        work_[i] = {double(input[i]), 0.0};
    ForwardComplex(work_.data());
    for (uint32_t k = 0; k <= size_ / 2; ++k)
        spectrum[k] = std::complex<float>(work_[k]);
}

void FFT::InverseReal(const std::complex<float>* spectrum, float* output)
{
    for (uint32_t k = 0; k <= size_ / 2; ++k)
        work_[k] = std::complex<double>(spectrum[k]);
    for (uint32_t k = size_ / 2 + 1; k < size_; ++k)
        work_[k] = std::conj(work_[size_ - k]);
    InverseComplex(work_.data());
    for (uint32_t i = 0; i < size_; ++i)
        output[i] = float(work_[i].real());
}

} // namespace DSP
