#include "dsp/ShuttleElement.h"

#include "dsp/ElementHost.h"

namespace DSP {

ShuttleElement::ShuttleElement(ElementHost& host, float sampleRate, uint32_t channelFormat)
    : ElementDispatcher(host, {0, kName}, sampleRate, channelFormat, 0, 0, 1)
{
    state_ = DeclareEnum(kStateParameter, {"Idle", "Capturing", "Captured", "Ready to Write"}, Idle);
    RegisterParameters();
    AddParameterListener(kStateIndex, [&host](uint32_t, const ParamValue&, uint64_t) { host.RequestUpdate(); });
}

ShuttleElement::~ShuttleElement() = default;

} // namespace DSP
