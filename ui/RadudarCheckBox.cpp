#include "ui/RadudarCheckBox.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI::Radudar {

namespace {
constexpr int headingHeight = 18;
}

CheckBox::CheckBox(Canvas& canvas, Window* parent, const Util::String& name, Kind kind)
    : Button(canvas, parent, name), kind_(kind)
{
    setStyleClass(kind == Kind::Radio ? "RadudarRadioButton" : kind == Kind::Group ? "RadudarGroupCheckBox" : "RadudarCheckBox");
    declare("Title", "String", Util::String());
    declare("Checked", "Bool", kind == Kind::Group);
}

Rect CheckBox::clickArea() const
{
    return kind_ == Kind::Group ? Rect{0, 0, width() - 1, std::min(height(), headingHeight) - 1} : bounds();
}

void CheckBox::onClick()
{
    if (kind_ != Kind::Radio) {
        setChecked(!isChecked());
    } else if (!isChecked()) {
        if (parent())
            for (const auto& sibling : parent()->children())
                if (auto* radio = dynamic_cast<CheckBox*>(sibling.get()); radio && radio != this && radio->kind_ == Kind::Radio)
                    radio->setChecked(false);
        setChecked(true);
    }
    changed(isChecked());
}

void CheckBox::propertyChanged(const Util::String& name)
{
    if (name == "Checked")
        applyGroupState();
    Window::propertyChanged(name);
}

void CheckBox::childAdded(Window& child)
{
    if (kind_ == Kind::Group)
        child.enable(isChecked());
}

void CheckBox::applyGroupState()
{
    if (kind_ == Kind::Group)
        for (const auto& child : children())
            child->enable(isChecked());
}

void CheckBox::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const bool enabled = isEnabledInTree();
    const int rowHeight = kind_ == Kind::Group ? std::min(height(), headingHeight) : height();
    const int top = (rowHeight - 13) / 2;
    const Rect box = Rect::fromSize(0, top, 13, 13);
    const Color border = palette.color(isChecked() ? "AccentColor" : isHovered() && enabled ? "AccentBrightColor" : "ControlBorder");
    const Color fill = palette.color(isChecked() ? "AccentColor" : "FieldFill");
    const uint8_t alpha = enabled ? 255 : 110;
    if (kind_ == Kind::Radio) {
        context.fillEllipse(6.5, top + 6.5, 6.5, 6.5, border.withAlpha(alpha));
        context.fillEllipse(6.5, top + 6.5, 5.5, 5.5, palette.color("FieldFill").withAlpha(alpha));
        if (isChecked())
            context.fillEllipse(6.5, top + 6.5, 3.2, 3.2, palette.color("AccentBrightColor").withAlpha(alpha));
    } else {
        context.fillRoundRect(box, 3, border.withAlpha(alpha));
        context.fillRoundRect(Rect{1, top + 1, 11, top + 11}, 2, fill.withAlpha(alpha));
        if (isChecked())
            context.strokePolyline({{3, top + 6}, {5, top + 9}, {10, top + 3}}, 1.7,
                                   palette.color("LabelBrightTextColor").withAlpha(alpha));
    }
    const Font font{11.0, kind_ == Kind::Group};
    const Color text = palette.color(enabled ? (kind_ == Kind::Group ? "LabelBrightTextColor" : "LabelTextColor") : "DisabledTextColor");
    context.drawTextInRect(stringProperty("Title"), font, text, Rect{19, 0, width() - 1, rowHeight - 1}, TextAlign::Left);
}

} // namespace UI::Radudar
