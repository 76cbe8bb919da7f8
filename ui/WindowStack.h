#pragma once
#include "ui/Window.h"

namespace UI {

// Shows one of its children at a time ("Window Stack"), all at its full size.
// Metric0 selects the shown child by index.
class WindowStack : public Window {
public:
    WindowStack(Canvas& canvas, Window* parent, const Util::String& name);

    void select(int index);
    int selectedIndex() const { return selected_; }
    bool setMetric(int index, int value) override;
    void layout() override;
    void childAdded(Window& child) override;

private:
    int selected_ = 0;
};

} // namespace UI
