#pragma once
#include "ui/Window.h"
#include "util/Trackable.h"

namespace UI::Radudar {

// What every clickable control shares: it takes the pointer, is pressed while
// the button is held over it, and emits `clicked` once when the button is
// released over it. A disabled button ignores the pointer.
class Button : public Window {
public:
    Button(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void()> clicked;

    bool isHovered() const { return hovered_; }
    // Held down with the pointer over it.
    bool isPressed() const { return held_ && inside_; }

    bool wantsPointer() const override { return true; }
    void pointerDown(const InputEvent& event) override;
    void pointerMoved(const InputEvent& event) override;
    void pointerUp(const InputEvent& event) override;
    void pointerEntered() override;
    void pointerExited() override;

protected:
    // The part of the button that takes clicks, in window pixels.
    virtual Rect clickArea() const { return bounds(); }
    // Runs before `clicked` is emitted (toggles flip their state here).
    virtual void onClick() {}
    // Called when the look changes with the pointer; redraws by default.
    virtual void pointerStateChanged() { invalidate(); }

private:
    void setState(bool hovered, bool held, bool inside);
    bool hovered_ = false;
    bool held_ = false;
    bool inside_ = false;
};

} // namespace UI::Radudar
