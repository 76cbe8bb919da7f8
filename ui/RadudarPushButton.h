#pragma once
#include "ui/RadudarButton.h"

namespace UI {
class TWPalette;
}

namespace UI::Radudar {


// A push button with a "Title" ("Radudar PushButton"; the small kind is
// "Radudar SmallPushButton", with a smaller font and radius).
class PushButton : public Button {
public:
    PushButton(Canvas& canvas, Window* parent, const Util::String& name, bool small = false);

    void setTitle(const Util::String& title) { setProperty("Title", title); }
    const Util::String& title() const { return stringProperty("Title"); }
    void draw(DrawContext& context) override;

    // The face every push-like control shares: raised, lit when hovered,
    // sunken while pressed, blue when `on`, faded when disabled.
    static void drawFace(DrawContext& context, const Window& button, const Rect& r, double radius, bool hovered,
                         bool pressed, bool on);
    // The same face with the colours of `palette`, for a button drawn outside a window tree.
    static void drawFace(DrawContext& context, const TWPalette& palette, bool enabled, const Rect& r, double radius,
                         bool hovered, bool pressed, bool on);

private:
    bool small_;
};

} // namespace UI::Radudar
