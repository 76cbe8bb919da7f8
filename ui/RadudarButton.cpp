#include "ui/RadudarButton.h"

namespace UI::Radudar {

Button::Button(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name) {}

void Button::setState(bool hovered, bool held, bool inside)
{
    if (hovered == hovered_ && held == held_ && inside == inside_)
        return;
    hovered_ = hovered;
    held_ = held;
    inside_ = inside;
    pointerStateChanged();
}

void Button::pointerDown(const InputEvent& event)
{
    if (event.kind == InputKind::RightDown)
        return;
    setState(true, true, clickArea().contains(event.point));
}

void Button::pointerMoved(const InputEvent& event)
{
    const bool inside = clickArea().contains(event.point);
    setState(held_ ? hovered_ : inside, held_, inside);
}

void Button::pointerUp(const InputEvent& event)
{
    const bool click = held_ && clickArea().contains(event.point) && event.kind == InputKind::Up;
    setState(clickArea().contains(event.point), false, clickArea().contains(event.point));
    if (click && isEnabledInTree()) {
        onClick();
        clicked();
    }
}

void Button::pointerEntered() { setState(true, held_, true); }

void Button::pointerExited() { setState(false, held_, false); }

} // namespace UI::Radudar
