#pragma once
#include "platform/SimpleTimer.h"
#include "ui/Window.h"

#include <memory>

namespace UI {

// The window that paces pulsing overlays ("MainPluginWindow Pulse Overlay
// Timer"): it draws nothing and takes no input; while any slot is connected
// to `pulsed`, it emits the phase of a one-second cycle (0 to 1) every 40 ms.
class PulseOverlayTimer : public Window {
public:
    PulseOverlayTimer(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void(float phase)> pulsed;
    bool hitTestable() const override { return false; }

private:
    std::unique_ptr<SimpleTimer> timer_;
};

} // namespace UI
