#include "ui/RadudarMouseOverOnOffButton.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/RadudarLabel.h"

namespace UI::Radudar {

MouseOverOnOffButton::MouseOverOnOffButton(Canvas& canvas, Window* parent, const Util::String& name)
    : Button(canvas, parent, name)
{
    setStyleClass("RadudarMouseOverOnOffButton");
    declare("Image Base Name", "String", Util::String());
    declare("Title", "String", Util::String());
    declare("Subtitle", "String", Util::String());
    declare("ToolTip", "String", Util::String());
    title_ = &Window::create<Label>(*this, "Title Text");
    title_->setProperty("Font Size", 12.0f);
    title_->setProperty("Bold", true);
    subtitle_ = &Window::create<Label>(*this, "Subtitle Text");
    subtitle_->setProperty("Font Size", 9.0f);
    updateTexts();
}

void MouseOverOnOffButton::setOn(bool on)
{
    if (on_ != on) {
        on_ = on;
        updateTexts();
        invalidate();
    }
}

void MouseOverOnOffButton::propertyChanged(const Util::String& name)
{
    if (name == "ToolTip")
        setTooltip(stringProperty("ToolTip"));
    updateTexts();
    invalidate();
}

void MouseOverOnOffButton::updateTexts()
{
    title_->setText(stringProperty("Title"));
    subtitle_->setText(stringProperty("Subtitle"));
    title_->setBright(on_ && isEnabledInTree());
}

Util::String MouseOverOnOffButton::currentImageName() const
{
    const bool on = on_ && isEnabledInTree();
    const char* suffix = on ? "On" : "Off";
    if (isEnabledInTree()) {
        if (isPressed())
            suffix = on ? "OnClick" : "OffClick";
        else if (isHovered())
            suffix = on ? "OnHover" : "OffHover";
    }
    return stringProperty("Image Base Name") + suffix + ".png";
}

void MouseOverOnOffButton::enabledChanged() { updateTexts(); }

void MouseOverOnOffButton::draw(DrawContext& context)
{
    if (const auto image = canvas().images().get(currentImageName()))
        context.drawImage(*image, {0, (height() - image->height()) / 2}, isEnabledInTree() ? 255 : 90);
}

} // namespace UI::Radudar
