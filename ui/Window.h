#pragma once
#include "ui/Geometry.h"
#include "ui/InputEvent.h"
#include "ui/Object.h"
#include "ui/PropertyHolder.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace UI {

class Canvas;
class DrawContext;

// A light-weight window of a window tree: a named rectangle inside its parent
// that draws itself, takes pointer input, has typed properties with class
// defaults from the style sheet, and owns its children. Destroying a window
// destroys its children; slots it connected are dropped with it. [ui-thread]
class Window : public Object, public Util::PropertyHolder {
public:
    Window(Canvas& canvas, Window* parent, const Util::String& name);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates a window of class T as the last child of `parent`.
    template <typename T, typename... Args>
    static T& create(Window& parent, const Util::String& name, Args&&... args)
    {
        auto window = std::make_unique<T>(parent.canvas(), &parent, name, std::forward<Args>(args)...);
        T& result = *window;
        parent.adopt(std::move(window));
        return result;
    }
    // Takes a new window as the last child.
    void adopt(std::unique_ptr<Window> child);
    // Removes a child from this window and hands it over.
    std::unique_ptr<Window> release(Window& child);

    Canvas& canvas() const { return canvas_; }
    Window* parent() const { return parent_; }
    const std::vector<std::unique_ptr<Window>>& children() const { return children_; }
    // The direct child of that exact name (the first one made), or null.
    Window* findChild(const Util::String& name) const;
    // Moves this window to the end of its parent's children: drawn last, hit first.
    void bringToFront();
    // A backdrop (a background panel) is drawn before, and hit after, every
    // sibling that is not one, whatever the order in which they were made.
    virtual bool isBackdrop() const { return false; }

    // Frame relative to the parent, inclusive edges.
    const Rect& frame() const { return frame_; }
    int width() const { return frame_.width(); }
    int height() const { return frame_.height(); }
    Rect bounds() const { return Rect::fromSize(0, 0, width(), height()); }
    // Moves and resizes; the layout pass runs afterwards.
    void setFrame(int x, int y, int width, int height);
    void setFrame(const Rect& frame) { setFrame(frame.left, frame.top, frame.width(), frame.height()); }
    // Frame in canvas pixels.
    Rect canvasFrame() const;
    Point toLocal(Point canvasPoint) const;

    // The size recorded by the last layout application.
    std::pair<int, int> layoutSize() const { return layoutSize_; }
    void setLayoutSize(int width, int height) { layoutSize_ = {width, height}; }

    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    void setVisible(bool visible);
    bool isHidden() const { return hidden_; }
    // Visible itself and every ancestor visible.
    bool isShowing() const;

    void enable(bool enabled);
    bool isEnabled() const { return enabled_; }
    // Called on a window and its descendants when enabling changed above them.
    virtual void enabledChanged() {}
    bool isEnabledInTree() const;

    bool hiddenByLayout() const { return hiddenByLayout_; }
    void setHiddenByLayout(bool hidden) { hiddenByLayout_ = hidden; }
    bool createdByLayout() const { return createdByLayout_; }
    void setCreatedByLayout(bool created) { createdByLayout_ = created; }
    const Util::String& layoutName() const { return layoutName_; }
    bool layoutFromFile() const { return layoutFromFile_; }
    void setLayoutName(const Util::String& name, bool fromFile = false);

    // Numbered integer metrics; a class without metric n reports
    // "Unimplemented Metric%1 on '%2'" and answers false.
    virtual bool setMetric(int index, int value);

    void setTooltip(const Util::String& text) { tooltip_ = text; }
    const Util::String& tooltip() const { return tooltip_; }

    // The host parameter a control stands for, for the host's hit test.
    std::optional<uint32_t> parameterIndex() const { return parameterIndex_; }
    void setParameterIndex(std::optional<uint32_t> index) { parameterIndex_ = index; }

    // Marks the whole window, or a part of it, for the next redraw.
    void invalidate();
    void invalidate(const Rect& area);

    // The per-class layout pass, run after every frame change.
    virtual void layout() {}
    // Called after a child was added.
    virtual void childAdded(Window& /*child*/) {}
    // Draws the window's own content; children are drawn afterwards on top.
    virtual void draw(DrawContext& /*context*/) {}

    // Pointer input, in window pixels. A window that takes the pointer gets
    // the press, every move until the release, and the release.
    virtual bool wantsPointer() const { return false; }
    // False for windows the pointer passes through (the tooltip).
    virtual bool hitTestable() const { return true; }
    virtual void pointerDown(const InputEvent& /*event*/) {}
    virtual void pointerMoved(const InputEvent& /*event*/) {}
    virtual void pointerUp(const InputEvent& /*event*/) {}
    virtual void pointerEntered() {}
    virtual void pointerExited() {}
    // True when the wheel was used here; otherwise it goes to the parent.
    virtual bool wheel(const InputEvent& /*event*/) { return false; }
    // True when the key was used (the window has the key focus).
    virtual bool keyDown(const KeyEvent& /*key*/) { return false; }
    virtual bool wantsFocus() const { return false; }
    virtual void focusChanged(bool /*focused*/) {}

    // The class name under which the style sheet holds this class's defaults.
    const Util::String& styleClass() const { return styleClass_; }

protected:
    // Each class names its style-sheet class before declaring its properties.
    void setStyleClass(const Util::String& name) { styleClass_ = name; }
    // Declares a property; the style sheet's default for (style class, name)
    // replaces `classDefault` when its type agrees.
    void declare(const Util::String& name, const Util::String& type, Util::PropertyValue classDefault);
    void propertyChanged(const Util::String& name) override;
    void destroyChildren();

private:
    static void notifyEnabledChanged(Window& window);

    Canvas& canvas_;
    Window* parent_;
    std::vector<std::unique_ptr<Window>> children_;
    std::multimap<Util::String, Window*> childrenByName_;
    Rect frame_;
    std::pair<int, int> layoutSize_{0, 0};
    bool hidden_ = false;
    bool enabled_ = true;
    bool hiddenByLayout_ = false;
    bool createdByLayout_ = false;
    bool layoutFromFile_ = false;
    Util::String layoutName_;
    Util::String tooltip_;
    Util::String styleClass_ = "Window";
    std::optional<uint32_t> parameterIndex_;
};

} // namespace UI
