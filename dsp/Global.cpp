#include "dsp/Global.h"

namespace DSP::Global {

Global::Global(ElementHost& host, float sampleRate, uint32_t channelFormat)
    : ElementDispatcher(host, {0, kName}, sampleRate, channelFormat, 0, 0, 1)
{
    RegisterParameters();
}

bool Global::SetFormat(float sampleRate, uint32_t channelFormat)
{
    ApplyFormat(sampleRate, channelFormat);
    return true;
}

} // namespace DSP::Global
