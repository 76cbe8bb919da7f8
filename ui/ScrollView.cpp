#include "ui/ScrollView.h"

#include "ui/RadudarScrollBar.h"

#include <algorithm>

namespace UI {

namespace {
constexpr int barWidth = 8;
constexpr int barGap = 2;
int rowHeight(const Window& row) { return row.height() > 0 ? row.height() : 20; }
} // namespace

ScrollView::ScrollView(Canvas& canvas, Window* parent, const Util::String& name, Radudar::ScrollBar* bar)
    : Window(canvas, parent, name), bar_(bar)
{
    setStyleClass("ScrollView");
    if (bar_)
        connect(bar_->scrolled, [this](int offset) { scrollTo(offset); });
}

int ScrollView::contentHeight() const
{
    int total = 0;
    for (const Window* row : rows_)
        total += rowHeight(*row);
    return total;
}

void ScrollView::clear()
{
    for (Window* row : rows_)
        row->hide();
    rows_.clear();
    offset_ = 0;
    placeRows();
}

void ScrollView::append(Window& row)
{
    rows_.push_back(&row);
    row.show();
    placeRows();
}

void ScrollView::scrollTo(int offset)
{
    offset = std::clamp(offset, 0, std::max(0, contentHeight() - height()));
    if (offset == offset_)
        return;
    offset_ = offset;
    placeRows();
}

bool ScrollView::wheel(const InputEvent& event)
{
    if (contentHeight() <= height())
        return false;
    const int notches = event.wheelDelta / 120 != 0 ? event.wheelDelta / 120 : (event.wheelDelta > 0 ? 1 : -1);
    scrollTo(offset_ - notches * step_);
    return true;
}

void ScrollView::layout() { placeRows(); }

void ScrollView::placeRows()
{
    int y = -offset_;
    for (Window* row : rows_) {
        const int h = rowHeight(*row);
        row->setFrame(0, y, width(), h);
        y += h;
    }
    placeBar();
}

void ScrollView::placeBar()
{
    if (!bar_)
        return;
    const Rect& f = frame();
    if (bar_->parent() == parent())
        bar_->setFrame(f.right + 1 + barGap, f.top, barWidth, f.height());
    else
        bar_->setFrame(width() - barWidth, 0, barWidth, height());
    bar_->setRange(contentHeight(), height());
    bar_->setOffset(offset_);
    bar_->setVisible(contentHeight() > height());
}

} // namespace UI
