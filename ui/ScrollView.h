#pragma once
#include "ui/Window.h"

#include <vector>

namespace UI {

namespace Radudar {
class ScrollBar;
}

// A vertical list of row windows (its own children) that scrolls by the wheel
// and by a "Radudar" scroll bar. The bar, given at construction, is placed
// along the view's right edge outside it (in the view's parent) and shown only
// while the rows do not fit. Rows keep their height and take the view's width.
class ScrollView : public Window {
public:
    ScrollView(Canvas& canvas, Window* parent, const Util::String& name, Radudar::ScrollBar* bar = nullptr);

    // Forgets every row and hides them (they stay children of the view).
    void clear();
    // Shows a child window as the next row.
    void append(Window& row);
    const std::vector<Window*>& rows() const { return rows_; }
    void setScrollStep(int pixels) { step_ = pixels; }
    int scrollStep() const { return step_; }
    void scrollTo(int offset);
    int offset() const { return offset_; }
    int contentHeight() const;

    void layout() override;
    bool wantsPointer() const override { return false; }
    bool wheel(const InputEvent& event) override;

private:
    void placeRows();
    void placeBar();
    Radudar::ScrollBar* bar_;
    std::vector<Window*> rows_;
    int step_ = 20;
    int offset_ = 0;
};

} // namespace UI
