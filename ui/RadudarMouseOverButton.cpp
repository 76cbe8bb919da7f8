#include "ui/RadudarMouseOverButton.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/PropertyTypes.h"

namespace UI::Radudar {

MouseOverButton::MouseOverButton(Canvas& canvas, Window* parent, const Util::String& name)
    : Button(canvas, parent, name)
{
    setStyleClass("RadudarMouseOverButton");
    declare("Style", "MouseOverButtonStyle", Util::EnumValue{0});
}

Util::String MouseOverButton::baseImageName(uint32_t style)
{
    const auto* values = Util::PropertyTypes::instance().enumeration("MouseOverButtonStyle");
    if (!values || style >= values->size())
        return {};
    const Util::String& value = (*values)[style];
    if (value == "CloseLight")
        return "png/CloseButtonLight";
    if (value == "Close")
        return "png/CloseButton";
    if (value == "HelpSolid" || value == "HelpHover")
        return "png/ShuttleHelp";
    return "png/" + value;
}

void MouseOverButton::setStyle(const Util::String& style) { setPropertyFromText("Style", "MouseOverButtonStyle", style); }

void MouseOverButton::setLatched(bool latched)
{
    if (latched_ != latched) {
        latched_ = latched;
        invalidate();
    }
}

Util::String MouseOverButton::currentImageName() const
{
    const char* suffix = "Normal";
    if (!isEnabledInTree())
        suffix = "Normal";
    else if (isPressed())
        suffix = "Pressed";
    else if (latched_)
        suffix = isHovered() ? "MouseOverPressed" : "Pressed";
    else if (isHovered())
        suffix = "MouseOverNormal";
    return baseImageName(enumProperty("Style")) + suffix + ".png";
}

void MouseOverButton::draw(DrawContext& context)
{
    const uint8_t alpha = isEnabledInTree() ? 255 : 80;
    if (const auto image = canvas().images().get(currentImageName())) {
        context.drawImage(*image, {(width() - image->width()) / 2, (height() - image->height()) / 2}, alpha);
        return;
    }
    const TWPalette& palette = canvas().palette();
    context.fillRoundRect(bounds(), 3, palette.color(isPressed() ? "ControlFillPressed" : "ControlFill").withAlpha(alpha));
}

} // namespace UI::Radudar
