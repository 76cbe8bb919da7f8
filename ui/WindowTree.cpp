#include "ui/WindowTree.h"

#include "platform/Clock.h"
#include "ui/Canvas.h"
#include "ui/RedrawIndicator.h"
#include "ui/Window.h"

#include <algorithm>

namespace UI {

namespace {
bool isAncestorOrSelf(const Window* ancestor, const Window* window)
{
    for (const Window* w = window; w; w = w->parent())
        if (w == ancestor)
            return true;
    return false;
}

Window* deepestAt(Window& window, Point p)
{
    if (window.isHidden() || !window.hitTestable() || !window.frame().contains(p))
        return nullptr;
    const Point inside{p.x - window.frame().left, p.y - window.frame().top};
    const auto& children = window.children();
    for (const bool backdrops : {false, true})
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if ((*it)->isBackdrop() == backdrops)
                if (Window* hit = deepestAt(**it, inside))
                    return hit;
    return &window;
}
} // namespace

void WindowTree::add(Window& window) { windows_.push_back(&window); }

void WindowTree::remove(Window& window)
{
    release(window);
    const auto it = std::find(windows_.begin(), windows_.end(), &window);
    if (it != windows_.end())
        windows_.erase(it);
}

void WindowTree::release(Window& window)
{
    if (hovered_ && isAncestorOrSelf(&window, hovered_))
        hovered_ = nullptr;
    if (captured_ && isAncestorOrSelf(&window, captured_))
        captured_ = nullptr;
    if (focused_ && isAncestorOrSelf(&window, focused_))
        focused_ = nullptr;
    if (tooltipOwner_ && isAncestorOrSelf(&window, tooltipOwner_))
        tooltipOwner_ = nullptr;
}

void WindowTree::visibilityChanged(Window& window)
{
    if (window.isHidden())
        release(window);
}

Window* WindowTree::findFirst(const Util::String& name) const
{
    for (Window* w : windows_)
        if (w->name() == name)
            return w;
    return nullptr;
}

Window* WindowTree::windowAt(Point canvasPoint) const
{
    // The root's frame is its own size at the origin.
    return deepestAt(root_, canvasPoint);
}

Window* WindowTree::targetAt(Point canvasPoint) const
{
    for (Window* w = windowAt(canvasPoint); w; w = w->parent())
        if (w->wantsPointer())
            return w;
    return nullptr;
}

void WindowTree::setHovered(Window* window)
{
    if (window == hovered_)
        return;
    Window* old = hovered_;
    hovered_ = window;
    if (old)
        old->pointerExited();
    if (window)
        window->pointerEntered();
}

void WindowTree::setFocus(Window* window)
{
    if (window == focused_)
        return;
    Window* old = focused_;
    focused_ = window;
    if (old)
        old->focusChanged(false);
    if (window)
        window->focusChanged(true);
}

void WindowTree::updateTooltipOwner(Point at)
{
    Window* owner = nullptr;
    if (pointerInside_)
        for (Window* w = windowAt(at); w && !owner; w = w->parent())
            if (!w->tooltip().empty())
                owner = w;
    if (owner != tooltipOwner_) {
        tooltipOwner_ = owner;
        restingSince_ = Platform::tickCount();
        root_.tooltipOwnerChanged();
    }
}

InputEvent WindowTree::local(const InputEvent& event, const Window& window) const
{
    InputEvent e = event;
    e.point = window.toLocal(event.point);
    return e;
}

bool WindowTree::dispatch(const InputEvent& event)
{
    pointer_ = event.point;
    RedrawIndicator::instance().noteModifiers(event.modifiers);
    switch (event.kind) {
    case InputKind::Leave:
        pointerInside_ = false;
        if (!captured_)
            setHovered(nullptr);
        updateTooltipOwner(event.point);
        return true;
    case InputKind::Move:
    case InputKind::Drag: {
        pointerInside_ = root_.bounds().contains(event.point);
        if (captured_) {
            captured_->pointerMoved(local(event, *captured_));
            return true;
        }
        Window* target = pointerInside_ ? targetAt(event.point) : nullptr;
        setHovered(target && target->isEnabledInTree() ? target : nullptr);
        updateTooltipOwner(event.point);
        if (hovered_)
            hovered_->pointerMoved(local(event, *hovered_));
        return target != nullptr;
    }
    case InputKind::Down:
    case InputKind::DoubleDown:
        if (pressFilter_ && pressFilter_(event))
            return true;
        [[fallthrough]];
    case InputKind::RightDown:
        pointerInside_ = true;
        return handlePress(event);
    case InputKind::Up:
    case InputKind::RightUp: {
        if (!captured_)
            return false;
        Window* target = captured_;
        captured_ = nullptr;
        target->pointerUp(local(event, *target));
        // The pointer may have left the window while it was held.
        Window* now = targetAt(event.point);
        setHovered(now && now->isEnabledInTree() ? now : nullptr);
        return true;
    }
    case InputKind::Wheel:
        for (Window* w = windowAt(event.point); w; w = w->parent())
            if (w->isEnabledInTree() && w->wheel(local(event, *w)))
                return true;
        return false;
    }
    return false;
}

bool WindowTree::handlePress(const InputEvent& event)
{
    root_.pointerPressed();
    if (root_.closePopupOutside(event.point))
        return true;
    Window* target = targetAt(event.point);
    // The key focus goes to the pressed window when it wants it, else nowhere.
    setFocus(target && target->isEnabledInTree() && target->wantsFocus() ? target : nullptr);
    if (event.kind == InputKind::RightDown && (!target || target == &root_))
        return root_.showContextMenu(event.point);
    if (!target)
        return false;
    // A disabled control swallows the press without acting on it.
    if (!target->isEnabledInTree())
        return true;
    captured_ = target;
    setHovered(target);
    target->pointerDown(local(event, *target));
    return true;
}

bool WindowTree::dispatchKey(const KeyEvent& key)
{
    RedrawIndicator::instance().noteModifiers(key.modifiers);
    return focused_ && focused_->isShowing() && focused_->keyDown(key);
}

} // namespace UI
