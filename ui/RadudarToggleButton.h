#pragma once
#include "ui/RadudarButton.h"

namespace UI::Radudar {

// The two-state buttons of the window set; a click flips "On" and emits
// `toggled` and `clicked`. Kinds:
//  OnOffPush     a push button that stays lit while on ("Radudar OnOffPushButton");
//  SmallOnOff    a small pill with a lamp ("Radudar SmallOnOffButton");
//  GradientOnOff a gradient pill ("Radudar GradientOnOffButton");
//  ExportFormat  a format chip such as "WAV" ("Radudar ExportFormatOnOffButton");
//  More          a disclosure arrow with "Title" ("Radudar MoreOnOffButton").
class ToggleButton : public Button {
public:
    enum class Kind { OnOffPush, SmallOnOff, GradientOnOff, ExportFormat, More };

    ToggleButton(Canvas& canvas, Window* parent, const Util::String& name, Kind kind);

    Util::Signal<void(bool on)> toggled;
    bool isOn() const { return boolProperty("On"); }
    void setOn(bool on) { setProperty("On", on); }
    void draw(DrawContext& context) override;

protected:
    void onClick() override;

private:
    Kind kind_;
};

} // namespace UI::Radudar
