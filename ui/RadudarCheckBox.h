#pragma once
#include "ui/RadudarButton.h"

namespace UI::Radudar {

// Check boxes of the window set, with a "Title" and "Checked":
//  CheckBox     a box that a click ticks or clears ("Radudar CheckBox");
//  Group        a check box heading a group: its child windows (below the
//               heading row) are enabled only while it is checked
//               ("Radudar Group CheckBox");
//  Radio        a round button; a click checks it and clears the radio
//               buttons among its siblings ("Radudar RadioButton").
class CheckBox : public Button {
public:
    enum class Kind { CheckBox, Group, Radio };

    CheckBox(Canvas& canvas, Window* parent, const Util::String& name, Kind kind);

    Util::Signal<void(bool checked)> changed;
    bool isChecked() const { return boolProperty("Checked"); }
    void setChecked(bool checked) { setProperty("Checked", checked); }
    void draw(DrawContext& context) override;

protected:
    Rect clickArea() const override;
    void onClick() override;
    void propertyChanged(const Util::String& name) override;
    void childAdded(Window& child) override;

private:
    void applyGroupState();
    Kind kind_;
};

} // namespace UI::Radudar
