#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// A horizontal slider ("Radudar Slider"): "Value" within "Range" (Float
// Range); pressing or dragging on it sets the value and emits `valueChanged`.
// The snapping kind ("Radudar SnapSlider") keeps the value on one of "Steps"
// evenly spaced stops, drawn as ticks.
class Slider : public Window {
public:
    Slider(Canvas& canvas, Window* parent, const Util::String& name, bool snap = false);

    Util::Signal<void(float value)> valueChanged;
    float value() const { return floatProperty("Value"); }
    void setValue(float value);
    Util::Range<float> range() const { return get<Util::Range<float>>("Range"); }

    bool wantsPointer() const override { return true; }
    void pointerDown(const InputEvent& event) override;
    void pointerMoved(const InputEvent& event) override;
    void pointerUp(const InputEvent& event) override;
    void draw(DrawContext& context) override;

private:
    float valueAt(int x) const;
    int knobX() const;
    bool snap_;
    bool dragging_ = false;
};

} // namespace UI::Radudar
