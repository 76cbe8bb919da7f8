#pragma once
#include <vector>

#include "dsp/Command.h"
#include "util/Text.h"

namespace DSP {
class Transform;
}

namespace Shuttle {

// From the window: the repaired files become the file handler's list (sorted by
// clip number) and the shuttle is ready to write them (state 3).
class LoadRepairedFileCommand final : public Atomic::Command {
public:
    LoadRepairedFileCommand(DSP::Transform& transform, std::vector<Util::String> files)
        : transform_(&transform), files_(std::move(files))
    {
    }
    bool ExecuteHigh() override;

private:
    DSP::Transform* transform_;
    std::vector<Util::String> files_;
};

} // namespace Shuttle
