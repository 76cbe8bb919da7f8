#pragma once
#include <cstdint>

namespace DSP {

// The user-interface side's bookkeeping of one element parameter (see DispatchInfo).
class DispatchInfoBase {
public:
    // The side a value change comes from.
    static constexpr uint32_t kAudioSide = 0;
    static constexpr uint32_t kUserInterfaceSide = 1;
    // A change signal attached with this mode is not emitted.
    static constexpr uint32_t kSignalSuppressed = 1;

    virtual ~DispatchInfoBase() = default;
    // Takes over a change made on the audio side; true when there was one. [ui-thread]
    virtual bool Poll() = 0;
    // Delivers a change taken over by Poll to the controller and signal. [ui-thread]
    virtual void Apply() = 0;
    // Calls the on-change callback, then every listener, with the audio side's value. [ui-thread]
    virtual void Notify() = 0;
};

} // namespace DSP
