#include "ui/RadudarLabel.h"

#include "ui/Canvas.h"

namespace UI::Radudar {

Label::Label(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& text)
    : Window(canvas, parent, name)
{
    setStyleClass("RadudarLabel");
    declare("Text", "String", text);
    declare("Style", "LabelStyle", Util::EnumValue{0});
    declare("Text Color", "Checked Color", Util::Checked<Color>{});
    declare("Font Size", "Float", 10.0f);
    declare("Bold", "Bool", false);
    declare("Alignment", "TextAlignment", Util::EnumValue{0});
}

Font Label::font() const { return {floatProperty("Font Size"), boolProperty("Bold")}; }

Color Label::textColor() const
{
    const auto& custom = get<Util::Checked<Color>>("Text Color");
    if (custom.checked)
        return custom.value;
    if (!isEnabledInTree())
        return canvas().palette().color("DisabledTextColor");
    return canvas().palette().color(enumProperty("Style") == 1 ? "LabelBrightTextColor" : "LabelTextColor");
}

void Label::draw(DrawContext& context)
{
    context.drawTextInRect(text(), font(), textColor(), bounds(), alignment());
}

} // namespace UI::Radudar
