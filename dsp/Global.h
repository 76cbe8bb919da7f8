#pragma once
#include "dsp/ElementDispatcher.h"

namespace DSP::Global {

// The instance's element for settings that concern the whole plug-in. It
// follows format changes in place, so it lives as long as its set.
class Global final : public ElementDispatcher {
public:
    static constexpr const char* kName = "Global";

    Global(ElementHost& host, float sampleRate, uint32_t channelFormat);

    bool SetFormat(float sampleRate, uint32_t channelFormat) override;
};

} // namespace DSP::Global
