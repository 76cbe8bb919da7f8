#include "core/PassThroughElementSet.h"

#include <cstring>

void PassThroughElementSet::bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels)
{
    if (!inputs || !outputs)
        return;
    for (uint32_t c = 0; c < channels; ++c)
        if (inputs[c] && outputs[c] && inputs[c] != outputs[c])
            std::memmove(outputs[c], inputs[c], size_t(frames) * sizeof(float));
}
