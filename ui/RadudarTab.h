#pragma once
#include "ui/RadudarButton.h"

namespace UI::Radudar {

// One tab heading ("Radudar Tab"): "Title", and "Selected" drawn as the raised
// tab with an accent line. A tab view selects it on `clicked`.
class Tab : public Button {
public:
    Tab(Canvas& canvas, Window* parent, const Util::String& name);
    bool isSelected() const { return boolProperty("Selected"); }
    void setSelected(bool selected) { setProperty("Selected", selected); }
    void draw(DrawContext& context) override;
};

} // namespace UI::Radudar
