#pragma once
#include "dsp/Command.h"

namespace DSP {
class Transform;
}

namespace Shuttle {

// From the window: in states 2 and 3 the shuttle returns to 0. No file is deleted.
class DiscardCommand final : public Atomic::Command {
public:
    explicit DiscardCommand(DSP::Transform& transform) : transform_(&transform) {}
    bool ExecuteHigh() override;

private:
    DSP::Transform* transform_;
};

} // namespace Shuttle
