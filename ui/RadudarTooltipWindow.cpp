#include "ui/RadudarTooltipWindow.h"

#include "platform/Clock.h"
#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace UI::Radudar {

namespace {
const Font tooltipFont{11.0, false};
constexpr int padding = 8;
constexpr int boxHeight = 22;
} // namespace

TooltipWindow::TooltipWindow(Canvas& canvas, Window* parent, const Util::String& name, uint32_t delayMs)
    : Window(canvas, parent, name), delayMs_(delayMs)
{
    setStyleClass("RadudarTooltip");
    hide();
    // Looks at every run of the timers, so that the delay holds to the millisecond.
    timer_ = std::make_unique<SimpleTimer>(canvas.timers(), 0, [this] { check(); });
}

void TooltipWindow::ownerChanged()
{
    dismissed_ = false;
    hide();
}

void TooltipWindow::dismiss()
{
    dismissed_ = true;
    hide();
}

void TooltipWindow::check()
{
    WindowTree& tree = canvas().tree();
    Window* owner = tree.tooltipOwner();
    if (!owner || dismissed_ || !isHidden() || !tree.pointerInside())
        return;
    if (uint32_t(Platform::tickCount() - tree.restingSince()) >= delayMs_)
        showText(owner->tooltip(), tree.pointer());
}

void TooltipWindow::showText(const Util::String& text, Point p)
{
    text_ = text;
    const int w = int(std::ceil(DrawContext::textWidth(text_, tooltipFont))) + 2 * padding;
    const Rect area = canvas().bounds();
    int x = std::clamp(p.x + 8, 0, std::max(0, area.width() - w));
    int y = p.y + 20;
    if (y + boxHeight > area.height())
        y = std::max(0, p.y - boxHeight - 6);
    setFrame(x, y, std::min(w, area.width()), boxHeight);
    bringToFront();
    show();
}

void TooltipWindow::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    context.fillRoundRect(bounds(), 4, palette.color("TooltipFill"));
    context.drawTextInRect(text_, tooltipFont, palette.color("TooltipText"), bounds(), TextAlign::Center);
}

} // namespace UI::Radudar
