#pragma once
#include "platform/CriticalSection.h"

// The instance's two named critical sections: index 0 "%1 Processing CritSec"
// (held by the audio side) and index 1 "%1 UI CritSec" (held by the user-interface
// side), %1 being the instance name. [any-thread]
class ThreadController {
public:
    static constexpr uint32_t ProcessingIndex = 0;
    static constexpr uint32_t UserInterfaceIndex = 1;

    explicit ThreadController(const Util::String& name);

    // The section for a lock index; any index other than 1 answers the processing one.
    Platform::CriticalSection& section(uint32_t index);
    Platform::CriticalSection& processing() { return processing_; }
    Platform::CriticalSection& userInterface() { return userInterface_; }

private:
    Platform::CriticalSection processing_;
    Platform::CriticalSection userInterface_;
};
