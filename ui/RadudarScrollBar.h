#pragma once
#include "ui/Window.h"
#include "util/Trackable.h"

namespace UI::Radudar {

// A vertical scroll bar: a track with a thumb whose length shows the visible
// part of the content. Dragging the thumb or pressing the track (a page at a
// time) moves the offset and emits `scrolled`. Drawn from "png/ScrollBar_Track.png"
// and "png/ScrollBar_Thumb.png" (three-part, 4-pixel ends).
class ScrollBar : public Window {
public:
    ScrollBar(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void(int offset)> scrolled;

    // Content and visible heights in pixels; the offset is kept in range.
    void setRange(int contentHeight, int viewHeight);
    void setOffset(int offset);
    int offset() const { return offset_; }
    int maximumOffset() const;
    Rect thumbRect() const;

    bool wantsPointer() const override { return true; }
    void pointerDown(const InputEvent& event) override;
    void pointerMoved(const InputEvent& event) override;
    void pointerUp(const InputEvent& event) override;
    void pointerEntered() override;
    void pointerExited() override;
    void draw(DrawContext& context) override;

private:
    void moveTo(int offset);
    int content_ = 0;
    int view_ = 0;
    int offset_ = 0;
    bool dragging_ = false;
    bool hovered_ = false;
    int dragStartY_ = 0;
    int dragStartOffset_ = 0;
};

} // namespace UI::Radudar
