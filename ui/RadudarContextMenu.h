#pragma once
#include "ui/Window.h"

#include <functional>
#include <vector>

namespace UI::Radudar {

// A "Radudar" popup menu: a list of items shown at a point above every other
// window. An item either runs its action or sends a command invocation of its
// name through the canvas's command manager. The menu closes on a choice or a
// press outside it. Attached to a canvas, it opens on the context button.
class ContextMenu : public Window {
public:
    ContextMenu(Canvas& canvas, Window* parent, const Util::String& name);
    ~ContextMenu() override;

    void addItem(const Util::String& text, std::function<void()> action);
    void addCommandItem(const Util::String& text, const Util::String& commandName);
    void clearItems();
    size_t itemCount() const { return items_.size(); }
    // Opens with its top-left corner at a canvas point (moved inside the canvas).
    void popup(Point canvasPoint);
    void close();
    int highlighted() const { return highlighted_; }

    bool wantsPointer() const override { return true; }
    void pointerMoved(const InputEvent& event) override;
    void pointerUp(const InputEvent& event) override;
    void pointerExited() override;
    void draw(DrawContext& context) override;

private:
    struct Item {
        Util::String text;
        std::function<void()> action;
        Util::String command;
    };
    int itemAt(Point p) const;
    void setHighlighted(int index);
    std::vector<Item> items_;
    int highlighted_ = -1;
};

} // namespace UI::Radudar
