#pragma once
#include "dsp/Command.h"
#include "shuttle/WindowActionSlot.h"

namespace Shuttle {

// From the transform: runs one of the window's actions on the user-interface
// thread (a notice text, discard, load repaired).
class DoActionOnMainWindowCommand final : public Atomic::Command {
public:
    explicit DoActionOnMainWindowCommand(WindowActionSlot action) : action_(std::move(action)) {}
    bool ExecuteLow() override
    {
        action_.run();
        return false;
    }

private:
    WindowActionSlot action_;
};

} // namespace Shuttle
