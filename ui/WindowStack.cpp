#include "ui/WindowStack.h"

namespace UI {

WindowStack::WindowStack(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("WindowStack");
}

void WindowStack::select(int index)
{
    selected_ = index;
    for (size_t i = 0; i < children().size(); ++i)
        children()[i]->setVisible(int(i) == index);
}

bool WindowStack::setMetric(int index, int value)
{
    if (index != 0)
        return Window::setMetric(index, value);
    select(value);
    return true;
}

void WindowStack::childAdded(Window& child)
{
    child.setFrame(0, 0, width(), height());
    child.setVisible(int(children().size()) - 1 == selected_);
}

void WindowStack::layout()
{
    for (const auto& child : children())
        child->setFrame(0, 0, width(), height());
    select(selected_);
}

} // namespace UI
