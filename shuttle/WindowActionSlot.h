#pragma once
#include <functional>
#include <memory>

#include "shuttle/MainWindowActions.h"

namespace Shuttle {

// One action bound to the main window: running it after the window died does nothing.
class WindowActionSlot {
public:
    WindowActionSlot(MainWindowActions& window, std::function<void(MainWindowActions&)> action)
        : window_(&window), life_(window.lifeToken()), action_(std::move(action))
    {
    }
    // [ui-thread]
    void run() const
    {
        if (auto alive = life_.lock())
            action_(*window_);
    }

private:
    MainWindowActions* window_;
    std::weak_ptr<void> life_;
    std::function<void(MainWindowActions&)> action_;
};

} // namespace Shuttle
