#include "ui/RadudarSlider.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace UI::Radudar {

namespace {
constexpr int knobRadius = 6;
}

Slider::Slider(Canvas& canvas, Window* parent, const Util::String& name, bool snap)
    : Window(canvas, parent, name), snap_(snap)
{
    setStyleClass(snap ? "RadudarSnapSlider" : "RadudarSlider");
    declare("Value", "Float", 0.0f);
    declare("Range", "Float Range", Util::Range<float>{0.0f, 1.0f});
    declare("Steps", "UInt", uint32_t(snap ? 5 : 0));
}

void Slider::setValue(float value)
{
    const auto r = range();
    value = std::clamp(value, std::min(r.low, r.high), std::max(r.low, r.high));
    const uint32_t steps = uintProperty("Steps");
    if (snap_ && steps > 1 && r.high != r.low) {
        const float unit = (r.high - r.low) / float(steps - 1);
        value = r.low + std::round((value - r.low) / unit) * unit;
    }
    if (value != this->value()) {
        setProperty("Value", value);
        valueChanged(value);
    }
}

float Slider::valueAt(int x) const
{
    const auto r = range();
    const int track = std::max(1, width() - 2 * knobRadius);
    const float t = std::clamp(float(x - knobRadius) / float(track), 0.0f, 1.0f);
    return r.low + t * (r.high - r.low);
}

int Slider::knobX() const
{
    const auto r = range();
    const float t = r.high == r.low ? 0.0f : std::clamp((value() - r.low) / (r.high - r.low), 0.0f, 1.0f);
    return knobRadius + int(std::lround(t * float(width() - 2 * knobRadius)));
}

void Slider::pointerDown(const InputEvent& event)
{
    dragging_ = true;
    setValue(valueAt(event.point.x));
    invalidate();
}

void Slider::pointerMoved(const InputEvent& event)
{
    if (dragging_)
        setValue(valueAt(event.point.x));
}

void Slider::pointerUp(const InputEvent&)
{
    dragging_ = false;
    invalidate();
}

void Slider::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const bool enabled = isEnabledInTree();
    const int cy = height() / 2;
    const int x = knobX();
    context.fillRoundRect(Rect{knobRadius, cy - 2, width() - knobRadius - 1, cy + 1}, 2, palette.color("FieldFill"));
    context.fillRoundRect(Rect{knobRadius, cy - 2, x, cy + 1}, 2,
                          palette.color(enabled ? "AccentColor" : "ControlBorder"));
    const uint32_t steps = uintProperty("Steps");
    if (snap_ && steps > 1)
        for (uint32_t i = 0; i < steps; ++i) {
            const int tx = knobRadius + int(i) * (width() - 2 * knobRadius - 1) / int(steps - 1);
            context.fillRect(Rect{tx, cy + 5, tx, cy + 7}, palette.color("ControlBorder"));
        }
    context.fillEllipse(x + 0.5, cy, knobRadius, knobRadius, palette.color("ControlBorder"));
    context.fillEllipse(x + 0.5, cy, knobRadius - 1, knobRadius - 1,
                        palette.color(dragging_ ? "LabelBrightTextColor" : enabled ? "LabelTextColor" : "ControlFill"));
}

} // namespace UI::Radudar
