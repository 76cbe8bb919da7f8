#pragma once
#include "ui/ToolWindow.h"

#include <memory>
#include <vector>

namespace UI {

// The design aid: a magnifier of another window tree as its native window
// shows it. It enlarges the pixels around the pointer's position in that
// tree, outlines the one under the pointer, and reads out its coordinates and
// colour ("x, y  #rrggbb"). It follows the pointer at every idle call; the
// inspected tree is followed through its life token. [ui-thread]
class DesignAid final : public ToolWindow {
public:
    static constexpr int Radius = 7; // pixels shown on each side of the pointer
    static constexpr int Zoom = 12;  // screen pixels per inspected pixel
    static constexpr int Span = 2 * Radius + 1;

    DesignAid(Canvas& target, Native::HostWindow& targetHost, std::weak_ptr<void> targetLife);

    // What the read-out line shows.
    const Util::String& readout() const { return readout_; }
    // The canvas point of the magnified cell of inspected pixel (dx, dy) from the pointer.
    static Point cellCentre(int dx, int dy);

private:
    void onIdle() override;

    Canvas& target_;
    Native::HostWindow& targetHost_;
    std::weak_ptr<void> targetLife_;
    Window* view_;
    Window* label_;
    Util::String readout_;
};

} // namespace UI
