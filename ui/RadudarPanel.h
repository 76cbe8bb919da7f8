#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// The plain panels of the window set, one class with a kind each:
//  BackgroundTexture   tiles "png/BackgroundTexture.png";
//  Box                 a framed box with an optional "Title" in its top edge;
//  GradientBackground  a vertical gradient from "Top Color" to "Bottom Color";
//  SimpleOverlay       a see-through "Overlay Color" over what lies beneath;
//  XYMeterBackground   a dark field with a grid of "Divisions" (Point x,y) and axes.
class Panel : public Window {
public:
    enum class Kind { BackgroundTexture, Box, GradientBackground, SimpleOverlay, XYMeterBackground };

    Panel(Canvas& canvas, Window* parent, const Util::String& name, Kind kind);
    Kind kind() const { return kind_; }
    void draw(DrawContext& context) override;
    // Every kind but the overlay lies behind its siblings.
    bool isBackdrop() const override { return kind_ != Kind::SimpleOverlay; }

private:
    Kind kind_;
};

} // namespace UI::Radudar
