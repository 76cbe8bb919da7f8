#include "ui/PulseOverlayTimer.h"

#include "platform/Clock.h"
#include "ui/Canvas.h"

namespace UI {

PulseOverlayTimer::PulseOverlayTimer(Canvas& canvas, Window* parent, const Util::String& name)
    : Window(canvas, parent, name)
{
    setStyleClass("PulseOverlayTimer");
    timer_ = std::make_unique<SimpleTimer>(canvas.timers(), 40, [this] {
        if (!pulsed.empty())
            pulsed(float(Platform::tickCount() % 1000) / 1000.0f);
    });
}

} // namespace UI
