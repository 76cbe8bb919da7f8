#include "ui/RadudarContextMenu.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace UI::Radudar {

namespace {
const Font menuFont{11.0, false};
constexpr int itemHeight = 20;
constexpr int margin = 4;
} // namespace

ContextMenu::ContextMenu(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RadudarContextMenu");
    hide();
}

ContextMenu::~ContextMenu()
{
    if (canvas().openPopup() == this)
        canvas().setOpenPopup(nullptr);
    if (canvas().contextMenu() == this)
        canvas().attachContextMenu(nullptr);
}

void ContextMenu::addItem(const Util::String& text, std::function<void()> action)
{
    items_.push_back({text, std::move(action), {}});
}

void ContextMenu::addCommandItem(const Util::String& text, const Util::String& commandName)
{
    items_.push_back({text, nullptr, commandName});
}

void ContextMenu::clearItems() { items_.clear(); }

void ContextMenu::popup(Point canvasPoint)
{
    double widest = 60;
    for (const Item& item : items_)
        widest = std::max(widest, DrawContext::textWidth(item.text, menuFont));
    const int w = int(std::ceil(widest)) + 28;
    const int h = int(items_.size()) * itemHeight + 2 * margin;
    const Rect area = canvas().bounds();
    const Rect parentArea = parent() ? parent()->canvasFrame() : area;
    const Point origin{parentArea.left, parentArea.top};
    const int x = std::clamp(canvasPoint.x, 0, std::max(0, area.width() - w)) - origin.x;
    const int y = std::clamp(canvasPoint.y, 0, std::max(0, area.height() - h)) - origin.y;
    setFrame(x, y, w, h);
    highlighted_ = -1;
    bringToFront();
    show();
    canvas().setOpenPopup(this);
}

void ContextMenu::close()
{
    hide();
    canvas().setOpenPopup(nullptr);
}

int ContextMenu::itemAt(Point p) const
{
    if (p.x < 0 || p.x >= width() || p.y < margin)
        return -1;
    const int index = (p.y - margin) / itemHeight;
    return index < int(items_.size()) ? index : -1;
}

void ContextMenu::setHighlighted(int index)
{
    if (index != highlighted_) {
        highlighted_ = index;
        invalidate();
    }
}

void ContextMenu::pointerMoved(const InputEvent& event) { setHighlighted(itemAt(event.point)); }

void ContextMenu::pointerExited() { setHighlighted(-1); }

void ContextMenu::pointerUp(const InputEvent& event)
{
    const int index = itemAt(event.point);
    if (index < 0)
        return;
    const Item item = items_[size_t(index)];
    close();
    if (item.action)
        item.action();
    else if (!item.command.empty())
        canvas().commands().invoke(Command::CommandInvocation(item.command));
}

void ContextMenu::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    context.fillRoundRect(bounds(), 5, palette.color("ControlBorder"));
    context.fillRoundRect(Rect{1, 1, width() - 2, height() - 2}, 4, palette.color("MenuFill"));
    for (size_t i = 0; i < items_.size(); ++i) {
        const Rect row = Rect::fromSize(margin, margin + int(i) * itemHeight, width() - 2 * margin, itemHeight);
        const bool lit = int(i) == highlighted_;
        if (lit)
            context.fillRoundRect(row, 3, palette.color("MenuHighlight"));
        context.drawTextInRect(items_[i].text, menuFont,
                               palette.color(lit ? "LabelBrightTextColor" : "LabelTextColor"),
                               Rect{row.left + 10, row.top, row.right, row.bottom}, TextAlign::Left);
    }
}

} // namespace UI::Radudar
