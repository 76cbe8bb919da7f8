#include "ui/RadudarPushButton.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI::Radudar {

PushButton::PushButton(Canvas& canvas, Window* parent, const Util::String& name, bool small)
    : Button(canvas, parent, name), small_(small)
{
    setStyleClass(small ? "RadudarSmallPushButton" : "RadudarPushButton");
    declare("Title", "String", Util::String());
}

void PushButton::drawFace(DrawContext& context, const Window& button, const Rect& r, double radius, bool hovered,
                          bool pressed, bool on)
{
    drawFace(context, button.canvas().palette(), button.isEnabledInTree(), r, radius, hovered, pressed, on);
}

void PushButton::drawFace(DrawContext& context, const TWPalette& palette, bool enabled, const Rect& r, double radius,
                          bool hovered, bool pressed, bool on)
{
    const uint8_t alpha = enabled ? 255 : 110;
    Color top = palette.color(hovered && enabled ? "ControlFillHover" : "ControlFill");
    Color bottom = palette.color("ControlFillPressed");
    Color border = palette.color("ControlBorder");
    if (on) {
        top = palette.color("AccentColor");
        bottom = top.mix(Color::rgb(0x000000), 0.25f);
        border = palette.color(hovered && enabled ? "AccentBrightColor" : "AccentColor");
    }
    if (pressed)
        std::swap(top, bottom);
    context.fillRoundRect(r, radius, border.withAlpha(alpha));
    context.fillVerticalGradient(Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, radius - 1,
                                 top.withAlpha(alpha), bottom.withAlpha(alpha));
}

void PushButton::draw(DrawContext& context)
{
    drawFace(context, *this, bounds(), small_ ? 3 : 4, isHovered(), isPressed(), false);
    const Font font{small_ ? 10.0 : 11.0, false};
    const TWPalette& palette = canvas().palette();
    const Color color = palette.color(isEnabledInTree() ? "LabelBrightTextColor" : "DisabledTextColor");
    context.drawTextInRect(title(), font, color, bounds().offset(0, isPressed() ? 1 : 0), TextAlign::Center);
}

} // namespace UI::Radudar
