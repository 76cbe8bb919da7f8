#pragma once
#include "dsp/Command.h"
#include "shuttle/WindowActionSlot.h"

namespace DSP {
class Transform;
}

namespace Shuttle {

// Posted high by the window: sets the file handler's reference mode. Posted low
// by the transform: sets the window's mode (false after a capture: REPAIR).
class ReferenceClipCommand final : public Atomic::Command {
public:
    ReferenceClipCommand(MainWindowActions& window, DSP::Transform& transform, bool reference);
    bool ExecuteHigh() override;
    bool ExecuteLow() override;

private:
    WindowActionSlot windowAction_;
    DSP::Transform* transform_;
    bool reference_;
};

} // namespace Shuttle
