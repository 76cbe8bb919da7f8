#pragma once
#include "ui/Window.h"

#include <vector>

namespace UI::Radudar {

class Tab;

// Pages under a row of tab headings ("Radudar TabView"). Each page is a
// child window; a click on a heading shows its page and hides the others.
// Metric0 selects a page by index.
class TabView : public Window {
public:
    TabView(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void(int index)> selected;

    // Adds a heading and an empty page window named after the title; returns the page.
    Window& addPage(const Util::String& title);
    void select(int index);
    int selectedIndex() const { return selected_; }
    size_t pageCount() const { return pages_.size(); }

    bool setMetric(int index, int value) override;
    void layout() override;
    void draw(DrawContext& context) override;

private:
    std::vector<Tab*> tabs_;
    std::vector<Window*> pages_;
    int selected_ = -1;
};

} // namespace UI::Radudar
