#include "ui/Window.h"

#include "ui/Canvas.h"
#include "ui/PropertyTypes.h"
#include "ui/StyleSheet.h"
#include "util/Log.h"

#include <algorithm>

namespace UI {

Window::Window(Canvas& canvas, Window* parent, const Util::String& name)
    : Object(name), canvas_(canvas), parent_(parent)
{
    if (this != static_cast<Window*>(&canvas))
        canvas.tree().add(*this);
}

Window::~Window()
{
    destroyChildren();
    if (this != static_cast<Window*>(&canvas_))
        canvas_.tree().remove(*this);
}

void Window::destroyChildren()
{
    // Last first, so that a child's destructor still finds its older siblings.
    while (!children_.empty()) {
        std::unique_ptr<Window> child = std::move(children_.back());
        children_.pop_back();
        child.reset();
    }
    childrenByName_.clear();
}

void Window::adopt(std::unique_ptr<Window> child)
{
    child->parent_ = this;
    childrenByName_.emplace(child->name(), child.get());
    children_.push_back(std::move(child));
    Window& added = *children_.back();
    added.invalidate();
    childAdded(added);
}

std::unique_ptr<Window> Window::release(Window& child)
{
    const auto it = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == &child; });
    if (it == children_.end())
        return nullptr;
    child.invalidate();
    for (auto named = childrenByName_.begin(); named != childrenByName_.end(); ++named)
        if (named->second == &child) {
            childrenByName_.erase(named);
            break;
        }
    std::unique_ptr<Window> owned = std::move(*it);
    children_.erase(it);
    return owned;
}

Window* Window::findChild(const Util::String& name) const
{
    const auto it = childrenByName_.find(name);
    return it == childrenByName_.end() ? nullptr : it->second;
}

void Window::bringToFront()
{
    if (!parent_)
        return;
    auto& siblings = parent_->children_;
    const auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == this; });
    if (it != siblings.end() && it + 1 != siblings.end()) {
        std::rotate(it, it + 1, siblings.end());
        invalidate();
    }
}

void Window::setFrame(int x, int y, int width, int height)
{
    const Rect frame = Rect::fromSize(x, y, width, height);
    if (frame != frame_) {
        invalidate();
        frame_ = frame;
        invalidate();
    }
    layout();
}

Rect Window::canvasFrame() const
{
    Rect r = frame_;
    for (const Window* p = parent_; p; p = p->parent_)
        r = r.offset(p->frame_.left, p->frame_.top);
    return r;
}

Point Window::toLocal(Point canvasPoint) const
{
    const Rect r = canvasFrame();
    return {canvasPoint.x - r.left, canvasPoint.y - r.top};
}

void Window::setVisible(bool visible)
{
    if (hidden_ == !visible)
        return;
    if (!visible)
        invalidate();
    hidden_ = !visible;
    if (visible)
        invalidate();
    canvas_.tree().visibilityChanged(*this);
}

bool Window::isShowing() const
{
    for (const Window* w = this; w; w = w->parent_)
        if (w->hidden_)
            return false;
    return true;
}

void Window::enable(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    invalidate();
    notifyEnabledChanged(*this);
}

void Window::notifyEnabledChanged(Window& window)
{
    window.enabledChanged();
    for (const auto& child : window.children_)
        notifyEnabledChanged(*child);
}

bool Window::isEnabledInTree() const
{
    for (const Window* w = this; w; w = w->parent_)
        if (!w->enabled_)
            return false;
    return true;
}

void Window::setLayoutName(const Util::String& name, bool fromFile)
{
    layoutName_ = name;
    layoutFromFile_ = fromFile;
}

bool Window::setMetric(int index, int /*value*/)
{
    Util::Log::write(Util::format("Unimplemented Metric%1 on '%2'", index, name()));
    return false;
}

void Window::invalidate() { invalidate(bounds()); }

void Window::invalidate(const Rect& area)
{
    if (!isShowing())
        return;
    // Clip to every ancestor, as drawing does.
    Rect r = area.intersect(bounds()).offset(frame_.left, frame_.top);
    for (const Window* p = parent_; p && !r.empty(); p = p->parent_)
        r = r.intersect(p->bounds()).offset(p->frame_.left, p->frame_.top);
    if (!r.empty())
        canvas_.invalidateArea(r);
}

void Window::declare(const Util::String& name, const Util::String& type, Util::PropertyValue classDefault)
{
    if (const auto styled = canvas_.styleSheet().classDefault(styleClass_, name, type))
        classDefault = *styled;
    declareProperty(name, type, std::move(classDefault));
}

void Window::propertyChanged(const Util::String& /*name*/) { invalidate(); }

} // namespace UI
