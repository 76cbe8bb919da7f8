#include "ui/RadudarScrubText.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace UI::Radudar {

ScrubText::ScrubText(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RududirScrubText");
    declare("Value", "Float", 0.0f);
    declare("Range", "Float Range", Util::Range<float>{-100.0f, 100.0f});
    declare("Step", "Float", 0.1f);
    declare("Decimals", "UInt", uint32_t(1));
    declare("Format", "String", Util::String("%1"));
}

void ScrubText::setValue(float value)
{
    const auto r = get<Util::Range<float>>("Range");
    value = std::clamp(value, std::min(r.low, r.high), std::max(r.low, r.high));
    if (value != this->value()) {
        setProperty("Value", value);
        valueChanged(value);
    }
}

Util::String ScrubText::displayText() const
{
    char number[48];
    std::snprintf(number, sizeof number, "%.*f", int(std::min(uintProperty("Decimals"), 6u)), double(value()));
    return Util::format(stringProperty("Format"), number);
}

void ScrubText::pointerDown(const InputEvent& event)
{
    dragging_ = true;
    start_ = event.point;
    startValue_ = value();
    invalidate();
}

void ScrubText::pointerMoved(const InputEvent& event)
{
    if (!dragging_)
        return;
    const int pixels = (event.point.x - start_.x) - (event.point.y - start_.y);
    setValue(startValue_ + float(pixels) * floatProperty("Step"));
}

void ScrubText::pointerUp(const InputEvent&)
{
    dragging_ = false;
    invalidate();
}

void ScrubText::pointerEntered()
{
    hovered_ = true;
    invalidate();
}

void ScrubText::pointerExited()
{
    hovered_ = false;
    invalidate();
}

void ScrubText::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const Font font{11.0, false};
    const bool lit = (hovered_ || dragging_) && isEnabledInTree();
    const Util::String text = displayText();
    context.drawTextInRect(text, font, palette.color(lit ? "AccentBrightColor" : "LabelBrightTextColor"), bounds(),
                           TextAlign::Left);
    // A dotted underline says "drag me".
    const int w = std::min(width(), int(std::ceil(DrawContext::textWidth(text, font))));
    const int y = (height() + int(DrawContext::lineHeight(font))) / 2 - 1;
    for (int x = 0; x < w; x += 3)
        context.fillRect(Rect{x, y, x, y}, palette.color(lit ? "AccentColor" : "ControlBorder"));
}

} // namespace UI::Radudar
