#pragma once
#include <complex>
#include <cstdint>
#include <vector>

namespace DSP {

// Radix-2 transforms of one fixed size (a power of two): complex doubles in
// place, and real floats to and from their half spectrum (size / 2 + 1 bins).
// Forward transforms are unscaled, inverse ones scaled by 1 / size. An object
// holds its own work buffer: one user at a time. Transforms do not allocate.
class FFT {
public:
    explicit FFT(uint32_t size); // throws std::invalid_argument unless a power of two >= 2

    uint32_t GetSize() const { return size_; }

    void ForwardComplex(std::complex<double>* data) const;
    void InverseComplex(std::complex<double>* data) const;
    void ForwardReal(const float* input, std::complex<float>* spectrum);
    void InverseReal(const std::complex<float>* spectrum, float* output);

private:
    void Transform(std::complex<double>* data, bool inverse) const;

    uint32_t size_;
    std::vector<uint32_t> bitReversed_;
    std::vector<std::complex<double>> twiddles_;
    std::vector<std::complex<double>> work_;
};

} // namespace DSP
