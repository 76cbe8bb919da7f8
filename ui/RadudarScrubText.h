#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// A number that is changed by dragging it ("Rududir Scrub Text"): "Value"
// within "Range", shown through "Format" ("%1" stands for the value with
// "Decimals" digits); dragging up or right adds "Step" per pixel.
class ScrubText : public Window {
public:
    ScrubText(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void(float value)> valueChanged;
    float value() const { return floatProperty("Value"); }
    void setValue(float value);
    Util::String displayText() const;

    bool wantsPointer() const override { return true; }
    void pointerDown(const InputEvent& event) override;
    void pointerMoved(const InputEvent& event) override;
    void pointerUp(const InputEvent& event) override;
    void pointerEntered() override;
    void pointerExited() override;
    void draw(DrawContext& context) override;

private:
    bool dragging_ = false;
    bool hovered_ = false;
    Point start_;
    float startValue_ = 0;
};

} // namespace UI::Radudar
