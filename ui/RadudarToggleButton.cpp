#include "ui/RadudarToggleButton.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/RadudarPushButton.h"

namespace UI::Radudar {

namespace {
const char* styleClassOf(ToggleButton::Kind kind)
{
    switch (kind) {
    case ToggleButton::Kind::OnOffPush: return "RadudarOnOffPushButton";
    case ToggleButton::Kind::SmallOnOff: return "RadudarSmallOnOffButton";
    case ToggleButton::Kind::GradientOnOff: return "RadudarGradientOnOffButton";
    case ToggleButton::Kind::ExportFormat: return "RadudarExportFormatOnOffButton";
    case ToggleButton::Kind::More: return "RadudarMoreOnOffButton";
    }
    return "RadudarToggleButton";
}
} // namespace

ToggleButton::ToggleButton(Canvas& canvas, Window* parent, const Util::String& name, Kind kind)
    : Button(canvas, parent, name), kind_(kind)
{
    setStyleClass(styleClassOf(kind));
    declare("Title", "String", Util::String());
    declare("On", "Bool", false);
}

void ToggleButton::onClick()
{
    setOn(!isOn());
    toggled(isOn());
}

void ToggleButton::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const bool enabled = isEnabledInTree();
    const bool on = isOn();
    const Util::String& title = stringProperty("Title");
    const Color text = palette.color(!enabled ? "DisabledTextColor" : on ? "LabelBrightTextColor" : "LabelTextColor");
    const Rect r = bounds();
    switch (kind_) {
    case Kind::OnOffPush:
        PushButton::drawFace(context, *this, r, 4, isHovered(), isPressed(), on);
        context.drawTextInRect(title, {11.0, false}, text, r, TextAlign::Center);
        break;
    case Kind::SmallOnOff: {
        PushButton::drawFace(context, *this, r, height() / 2.0, isHovered(), isPressed(), false);
        const double cy = height() / 2.0;
        context.fillEllipse(10, cy, 3.5, 3.5, palette.color(on && enabled ? "AccentBrightColor" : "ControlBorder"));
        context.drawTextInRect(title, {10.0, false}, text, Rect{18, 0, r.right - 6, r.bottom}, TextAlign::Left);
        break;
    }
    case Kind::GradientOnOff:
        PushButton::drawFace(context, *this, r, height() / 2.0, isHovered(), isPressed(), on);
        context.drawTextInRect(title, {11.0, true}, text, r, TextAlign::Center);
        break;
    case Kind::ExportFormat: {
        const Color border = palette.color(on ? "AccentColor" : "ControlBorder");
        context.fillRoundRect(r, 3, border);
        context.fillRoundRect(Rect{1, 1, r.right - 1, r.bottom - 1}, 2,
                              palette.color(on ? "SelectionFill" : isHovered() ? "ControlFillHover" : "FieldFill"));
        context.drawTextInRect(title, {10.0, true}, text, r, TextAlign::Center);
        break;
    }
    case Kind::More: {
        const int cy = height() / 2;
        const Color arrow = palette.color(isHovered() && enabled ? "LabelBrightTextColor" : "LabelTextColor");
        if (on)
            context.fillPolygon({{3, cy - 2}, {11, cy - 2}, {7, cy + 3}}, arrow);
        else
            context.fillPolygon({{5, cy - 4}, {10, cy}, {5, cy + 4}}, arrow);
        context.drawTextInRect(title, {11.0, false}, text, Rect{15, 0, r.right, r.bottom}, TextAlign::Left);
        break;
    }
    }
}

} // namespace UI::Radudar
