#include "ui/Canvas.h"

#include "ui/DrawContext.h"
#include "ui/LayoutLoader.h"
#include "ui/RadudarContextMenu.h"
#include "ui/RadudarTooltipWindow.h"
#include "ui/RadudarWindowSet.h"
#include "ui/RedrawIndicator.h"

namespace UI {

Canvas::Canvas(int width, int height, const Util::String& name) : Window(*this, nullptr, name), tree_(*this)
{
    tree_.add(*this);
    Radudar::registerWindowSet(maker_);
    styleSheet_.load("UI/StyleSheet.json");
    palette_.applyStyleSheet(styleSheet_);
    setStyleClass("Canvas");
    setFrame(0, 0, width, height);
}

Canvas::~Canvas()
{
    tooltip_ = nullptr;
    contextMenu_ = nullptr;
    openPopup_ = nullptr;
    destroyChildren();
    tree_.remove(*this);
}

Util::String Canvas::layoutPath(const Util::String& layoutName) const
{
    return Util::format("%1/%2", layoutFolder_, layoutName + ".layout");
}

bool Canvas::applyLayout(Window& window)
{
    if (window.layoutName().empty())
        return false;
    return loadLayout(layoutPath(window.layoutName()), &window);
}

bool Canvas::loadLayout(const Util::String& path, Window* target) { return LayoutLoader(*this).load(path, target); }

Radudar::TooltipWindow& Canvas::tooltipWindow(uint32_t delayMs)
{
    if (!tooltip_)
        tooltip_ = &Window::create<Radudar::TooltipWindow>(*this, "Tooltip", delayMs);
    return *tooltip_;
}

void Canvas::pointerPressed()
{
    if (tooltip_)
        tooltip_->dismiss();
}

bool Canvas::closePopupOutside(Point canvasPoint)
{
    if (!openPopup_ || openPopup_->isHidden())
        return false;
    if (openPopup_->canvasFrame().contains(canvasPoint))
        return false;
    openPopup_->hide();
    openPopup_ = nullptr;
    return true;
}

bool Canvas::showContextMenu(Point canvasPoint)
{
    if (!contextMenu_ || contextMenu_->itemCount() == 0)
        return false;
    contextMenu_->popup(canvasPoint);
    return true;
}

void Canvas::tooltipOwnerChanged()
{
    if (tooltip_)
        tooltip_->ownerChanged();
}

void Canvas::draw(DrawContext& context)
{
    context.fillVerticalGradient(bounds(), 0, palette_.color("WindowBackgroundTop"),
                                 palette_.color("WindowBackgroundBottom"));
}

Rect Canvas::redraw(Image& target)
{
    const Rect area = dirty_.intersect(bounds()).intersect(target.bounds());
    dirty_ = {};
    if (area.empty())
        return {};
    DrawContext context = DrawContext(target).clippedTo(area);
    drawWindow(*this, context);
    auto& indicator = RedrawIndicator::instance();
    if (indicator.active(tree_.pointer(), tree_.pointerInside()))
        indicator.mark(context, area);
    return area;
}

void Canvas::renderAll(Image& target)
{
    invalidate();
    redraw(target);
}

void Canvas::drawWindow(Window& window, const DrawContext& parentContext)
{
    if (window.isHidden())
        return;
    DrawContext context = parentContext.child({window.frame().left, window.frame().top}, window.frame());
    if (context.clip().empty())
        return;
    window.draw(context);
    for (const bool backdrops : {true, false})
        for (const auto& child : window.children())
            if (child->isBackdrop() == backdrops)
                drawWindow(*child, context);
}

} // namespace UI
