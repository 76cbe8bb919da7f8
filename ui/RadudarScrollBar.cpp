#include "ui/RadudarScrollBar.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <algorithm>

namespace UI::Radudar {

namespace {
constexpr int minimumThumb = 16;
const Insets threePart{0, 4, 0, 4};
} // namespace

ScrollBar::ScrollBar(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RadudarScrollBar");
}

void ScrollBar::setRange(int contentHeight, int viewHeight)
{
    if (contentHeight == content_ && viewHeight == view_)
        return;
    content_ = std::max(0, contentHeight);
    view_ = std::max(0, viewHeight);
    offset_ = std::clamp(offset_, 0, maximumOffset());
    invalidate();
}

int ScrollBar::maximumOffset() const { return std::max(0, content_ - view_); }

void ScrollBar::setOffset(int offset)
{
    offset = std::clamp(offset, 0, maximumOffset());
    if (offset != offset_) {
        offset_ = offset;
        invalidate();
    }
}

void ScrollBar::moveTo(int offset)
{
    const int before = offset_;
    setOffset(offset);
    if (offset_ != before)
        scrolled(offset_);
}

Rect ScrollBar::thumbRect() const
{
    if (content_ <= view_ || content_ == 0)
        return bounds();
    const int track = height();
    const int length = std::max(minimumThumb, track * view_ / content_);
    const int top = (track - length) * offset_ / std::max(1, maximumOffset());
    return Rect::fromSize(0, top, width(), length);
}

void ScrollBar::pointerDown(const InputEvent& event)
{
    const Rect thumb = thumbRect();
    if (thumb.contains(event.point)) {
        dragging_ = true;
        dragStartY_ = event.point.y;
        dragStartOffset_ = offset_;
        invalidate();
    } else {
        moveTo(offset_ + (event.point.y < thumb.top ? -view_ : view_));
    }
}

void ScrollBar::pointerMoved(const InputEvent& event)
{
    if (!dragging_)
        return;
    const int travel = std::max(1, height() - thumbRect().height());
    moveTo(dragStartOffset_ + (event.point.y - dragStartY_) * maximumOffset() / travel);
}

void ScrollBar::pointerUp(const InputEvent&)
{
    if (dragging_) {
        dragging_ = false;
        invalidate();
    }
}

void ScrollBar::pointerEntered()
{
    hovered_ = true;
    invalidate();
}

void ScrollBar::pointerExited()
{
    hovered_ = false;
    invalidate();
}

void ScrollBar::draw(DrawContext& context)
{
    auto& images = canvas().images();
    if (const auto track = images.get("png/ScrollBar_Track.png"))
        context.drawNinePart(*track, threePart, bounds());
    const auto thumb = images.get(hovered_ || dragging_ ? "png/ScrollBar_ThumbHover.png" : "png/ScrollBar_Thumb.png");
    if (thumb && content_ > view_)
        context.drawNinePart(*thumb, threePart, thumbRect());
}

} // namespace UI::Radudar
