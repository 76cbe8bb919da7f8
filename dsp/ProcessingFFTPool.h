#pragma once
#include <cstdint>

namespace DSP {

class FFT;

// Shared transform objects for the audio thread: reserved ahead, borrowed and
// returned while processing, never created there.
class ProcessingFFTPool {
public:
    virtual ~ProcessingFFTPool() = default;
    // Makes sure `count` transforms of `size` points exist. [ui-thread] & not processing
    virtual void ReserveFFT(uint32_t size, uint32_t count) = 0;
    // A free transform of `size` points, or null. [audio-thread]
    virtual FFT* BorrowFFT(uint32_t size) = 0;
    virtual void ReturnFFT(FFT* fft) = 0; // [audio-thread]
};

} // namespace DSP
