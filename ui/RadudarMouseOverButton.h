#pragma once
#include "ui/RadudarButton.h"

namespace UI::Radudar {

// A push button drawn from four images ("Radudar MouseOverButton"): its
// "Style" (MouseOverButtonStyle) selects a base image name, and the base plus
// "Normal", "Pressed", "MouseOverNormal" or "MouseOverPressed" plus ".png" is
// drawn: Normal at rest, MouseOverNormal under the pointer, Pressed while held
// (and while latched), MouseOverPressed when latched under the pointer.
// Disabled, it draws its normal image faded.
class MouseOverButton : public Button {
public:
    MouseOverButton(Canvas& canvas, Window* parent, const Util::String& name);

    // The base image name of a style value (an index of MouseOverButtonStyle).
    static Util::String baseImageName(uint32_t style);
    void setStyle(const Util::String& style);
    // A latched button shows its pressed look (a toggle that opened something).
    void setLatched(bool latched);
    bool isLatched() const { return latched_; }
    // The image drawn now.
    Util::String currentImageName() const;

    void draw(DrawContext& context) override;

private:
    bool latched_ = false;
};

} // namespace UI::Radudar
