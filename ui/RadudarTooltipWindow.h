#pragma once
#include "platform/SimpleTimer.h"
#include "ui/Window.h"

#include <memory>

namespace UI::Radudar {

// The canvas's shared tooltip ("Radudar" tooltip): when the pointer has rested
// for the delay (ms) over a window with a tooltip text, the text shows in a
// small box near the pointer, above every other window. It goes away when the
// pointer moves to another window, leaves, or presses.
class TooltipWindow : public Window {
public:
    TooltipWindow(Canvas& canvas, Window* parent, const Util::String& name, uint32_t delayMs);

    void setDelay(uint32_t delayMs) { delayMs_ = delayMs; }
    uint32_t delay() const { return delayMs_; }
    const Util::String& text() const { return text_; }

    // The window under the pointer changed.
    void ownerChanged();
    // A press: hide until the pointer rests over another window.
    void dismiss();
    // Shows the tooltip when its time has come (run by its timer).
    void check();
    // Shows a text near a canvas point at once.
    void showText(const Util::String& text, Point canvasPoint);

    bool hitTestable() const override { return false; }
    void draw(DrawContext& context) override;

private:
    uint32_t delayMs_;
    Util::String text_;
    bool dismissed_ = false;
    std::unique_ptr<SimpleTimer> timer_;
};

} // namespace UI::Radudar
