#pragma once
#include "ui/Window.h"

#include <vector>

namespace UI::Radudar {

// A list of text rows ("Radudar ListBox"): "Items" (texts joined by ';'),
// "Selected" (row index, -1 for none). A press selects the row under it and
// emits `selectionChanged`; the wheel scrolls.
class ListBox : public Window {
public:
    ListBox(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void(int index)> selectionChanged;
    std::vector<Util::String> items() const;
    int selectedIndex() const { return intProperty("Selected"); }
    void select(int index);

    bool wantsPointer() const override { return true; }
    void pointerDown(const InputEvent& event) override;
    bool wheel(const InputEvent& event) override;
    void draw(DrawContext& context) override;

private:
    int firstRow_ = 0;
};

} // namespace UI::Radudar
