#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// A framed background panel ("Radudar ControlBackground"), drawn from the
// nine-part image "png/ControlBackground.png" (corners of 6 pixels). It lies
// behind its sibling windows.
class ControlBackground : public Window {
public:
    ControlBackground(Canvas& canvas, Window* parent, const Util::String& name);
    void draw(DrawContext& context) override;
    bool isBackdrop() const override { return true; }
};

} // namespace UI::Radudar
