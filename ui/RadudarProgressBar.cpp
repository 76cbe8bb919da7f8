#include "ui/RadudarProgressBar.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace UI::Radudar {

ProgressBar::ProgressBar(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RadudarProgressBar");
    declare("Progress", "Float", 0.0f);
}

void ProgressBar::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const double radius = height() / 2.0;
    context.fillRoundRect(bounds(), radius, palette.color("FieldBorder"));
    context.fillRoundRect(Rect{1, 1, width() - 2, height() - 2}, radius - 1, palette.color("FieldFill"));
    const float t = std::clamp(floatProperty("Progress"), 0.0f, 1.0f);
    const int filled = int(std::lround(t * float(width() - 2)));
    if (filled > 0)
        context.fillVerticalGradient(Rect{1, 1, filled, height() - 2}, radius - 1, palette.color("AccentBrightColor"),
                                     palette.color("AccentColor"));
}

} // namespace UI::Radudar
