#pragma once
#include "dsp/ElementDispatcher.h"
#include "dsp/ElementParamEnum.h"

namespace DSP {

// The element "Shuttle": it carries the one shared truth about where the
// exchange with the editor stands, the enumerated parameter "Shuttle State".
// It never follows a format change in place: the set replaces it, and the new
// element starts at "Idle". Every change of the state asks the host for an update.
class ShuttleElement final : public ElementDispatcher {
public:
    enum State : uint32_t { Idle = 0, Capturing = 1, Captured = 2, ReadyToWrite = 3 };

    static constexpr const char* kName = "Shuttle";
    static constexpr const char* kStateParameter = "Shuttle State";
    static constexpr uint32_t kStateIndex = 0;

    ShuttleElement(ElementHost& host, float sampleRate, uint32_t channelFormat);
    ~ShuttleElement() override;

    // "Shuttle State" without the parameter lookup by index. [any-thread]
    uint32_t GetState() const { return state_.Get(); }

private:
    ElementParamEnum state_;
};

} // namespace DSP
