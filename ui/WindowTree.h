#pragma once
#include "ui/InputEvent.h"
#include "util/Text.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace UI {

class Canvas;
class Window;

// The bookkeeping of one window tree: every window in creation order, and the
// routing of pointer and key input (hover, pointer capture, key focus, the
// window the pointer rests on for tooltips). [ui-thread]
class WindowTree {
public:
    explicit WindowTree(Canvas& root) : root_(root) {}

    void add(Window& window);
    void remove(Window& window);
    void visibilityChanged(Window& window);
    // The first window of that name in creation order, or null.
    Window* findFirst(const Util::String& name) const;
    const std::vector<Window*>& windows() const { return windows_; }

    // Routes one pointer event in canvas pixels; true when a window used it.
    bool dispatch(const InputEvent& event);
    // Offers a key to the focused window; false when no window used it.
    bool dispatchKey(const KeyEvent& key);
    // Sees every left press (Down, DoubleDown) before any window; a press it
    // answers true for reaches no window.
    void setPressFilter(std::function<bool(const InputEvent&)> filter) { pressFilter_ = std::move(filter); }

    // The deepest showing window under a canvas point (any window, taking the
    // pointer or not), or null.
    Window* windowAt(Point canvasPoint) const;
    // The window that takes the pointer at a point: the deepest showing one
    // that wants it, or its nearest ancestor that does.
    Window* targetAt(Point canvasPoint) const;

    Point pointer() const { return pointer_; }
    bool pointerInside() const { return pointerInside_; }
    Window* hovered() const { return hovered_; }
    Window* captured() const { return captured_; }
    Window* focused() const { return focused_; }
    void setFocus(Window* window);
    // The window under the pointer whose tooltip applies, and since when the
    // pointer rests over it (system tick).
    Window* tooltipOwner() const { return tooltipOwner_; }
    uint32_t restingSince() const { return restingSince_; }

private:
    void setHovered(Window* window);
    void updateTooltipOwner(Point at);
    void release(Window& window);
    bool handlePress(const InputEvent& event);
    InputEvent local(const InputEvent& event, const Window& window) const;

    Canvas& root_;
    std::vector<Window*> windows_;
    Point pointer_;
    bool pointerInside_ = false;
    Window* hovered_ = nullptr;
    Window* captured_ = nullptr;
    Window* focused_ = nullptr;
    Window* tooltipOwner_ = nullptr;
    uint32_t restingSince_ = 0;
    std::function<bool(const InputEvent&)> pressFilter_;
};

} // namespace UI
