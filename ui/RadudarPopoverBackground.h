#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// A popover panel ("Radudar PopoverBackground") drawn from the nine images
// "png/PopoverBackground_TopLeft.png" ... "_BottomRight.png" (the base name is
// the "Image Base Name" property); its child buttons sit on top.
class PopoverBackground : public Window {
public:
    PopoverBackground(Canvas& canvas, Window* parent, const Util::String& name);
    void draw(DrawContext& context) override;
    // Swallows presses on the panel between its buttons.
    bool wantsPointer() const override { return true; }
};

} // namespace UI::Radudar
