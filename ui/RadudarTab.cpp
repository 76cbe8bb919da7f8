#include "ui/RadudarTab.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI::Radudar {

Tab::Tab(Canvas& canvas, Window* parent, const Util::String& name) : Button(canvas, parent, name)
{
    setStyleClass("RadudarTab");
    declare("Title", "String", Util::String());
    declare("Selected", "Bool", false);
}

void Tab::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const bool selected = isSelected();
    const Color fill = palette.color(selected ? "ControlFillHover" : isHovered() ? "ControlFill" : "FieldFill");
    // Rounded on top only: the lower corners are squared by a plain fill.
    context.fillRoundRect(bounds(), 4, fill);
    context.fillRect(Rect{0, height() / 2, width() - 1, height() - 1}, fill);
    if (selected)
        context.fillRect(Rect{0, height() - 2, width() - 1, height() - 1}, palette.color("AccentColor"));
    const Color text = palette.color(!isEnabledInTree() ? "DisabledTextColor"
                                     : selected         ? "LabelBrightTextColor"
                                                        : "LabelTextColor");
    context.drawTextInRect(stringProperty("Title"), {11.0, selected}, text, bounds(), TextAlign::Center);
}

} // namespace UI::Radudar
