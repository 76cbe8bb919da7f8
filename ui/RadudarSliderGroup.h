#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

class Label;
class Slider;

// A labelled slider ("Radudar SliderGroup"): the "Title" at the left, a
// slider in the middle and the value with its "Units" at the right. "Value"
// and "Range" follow the slider.
class SliderGroup : public Window {
public:
    SliderGroup(Canvas& canvas, Window* parent, const Util::String& name);

    Slider& slider() const { return *slider_; }
    void layout() override;

protected:
    void propertyChanged(const Util::String& name) override;

private:
    void showValue();
    Label* title_;
    Slider* slider_;
    Label* value_;
};

} // namespace UI::Radudar
