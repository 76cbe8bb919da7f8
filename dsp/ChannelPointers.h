#pragma once
#include <cstdint>

namespace DSP {

// The channel pointers handed to an element's signal processing for one
// sub-block: the main channels first, then side inputs (or extra outputs) bus
// after bus. Main inputs and main outputs are the same buffers (in place).
struct ChannelPointers {
    float* const* inputs = nullptr;
    uint32_t inputCount = 0;
    float* const* outputs = nullptr;
    uint32_t outputCount = 0;
};

} // namespace DSP
