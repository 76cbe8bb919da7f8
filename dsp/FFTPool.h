#pragma once
#include "dsp/FFT.h"
#include "util/Text.h"

#include <memory>
#include <vector>

namespace DSP {

// A named set of transform objects made ahead of time, lent to the audio thread.
class FFTPool {
public:
    explicit FFTPool(Util::String name);

    const Util::String& GetName() const { return name_; }
    // Makes sure `count` transforms of `size` points exist. [ui-thread] & processing lock
    void Reserve(uint32_t size, uint32_t count);
    // A transform not lent out, or null. [audio-thread] & processing lock
    FFT* Borrow(uint32_t size);
    void Return(FFT* fft); // [audio-thread] & processing lock
    uint32_t GetCount(uint32_t size) const;

private:
    struct Entry {
        std::unique_ptr<FFT> fft;
        bool lent = false;
    };
    Util::String name_;
    std::vector<Entry> entries_;
};

} // namespace DSP
