#pragma once
#include "ui/RadudarButton.h"

namespace UI::Radudar {

class Label;

// A two-state button drawn from six images ("Radudar MouseOverOnOffButton"):
// "Image Base Name" plus "Off", "OffClick", "OffHover", "On", "OnClick" or
// "OnHover" plus ".png", at its left edge. Its "Title" and "Subtitle" texts show
// in the child labels "Title Text" and "Subtitle Text"; "ToolTip" becomes its
// tooltip. The on state is set from code (a click only emits `clicked`); a
// disabled button draws its off image faded.
class MouseOverOnOffButton : public Button {
public:
    MouseOverOnOffButton(Canvas& canvas, Window* parent, const Util::String& name);

    void setOn(bool on);
    bool isOn() const { return on_; }
    Util::String currentImageName() const;
    Label& titleText() const { return *title_; }
    Label& subtitleText() const { return *subtitle_; }

    void draw(DrawContext& context) override;
    void enabledChanged() override;

protected:
    void propertyChanged(const Util::String& name) override;

private:
    void updateTexts();
    bool on_ = false;
    Label* title_;
    Label* subtitle_;
};

} // namespace UI::Radudar
