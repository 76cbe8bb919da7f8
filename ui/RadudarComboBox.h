#pragma once
#include "ui/RadudarButton.h"

#include <vector>

namespace UI::Radudar {

class ContextMenu;

// A drop-down choice ("Radudar ComboBox"): shows the chosen item of "Items"
// (texts joined by ';') with an arrow; a click opens a menu of the items and
// a choice sets "Selected" (index) and emits `selectionChanged`.
class ComboBox : public Button {
public:
    ComboBox(Canvas& canvas, Window* parent, const Util::String& name);
    ~ComboBox() override;

    Util::Signal<void(uint32_t index)> selectionChanged;
    std::vector<Util::String> items() const;
    uint32_t selectedIndex() const { return uintProperty("Selected"); }
    void select(uint32_t index);
    ContextMenu* menu() const { return menu_; }
    void draw(DrawContext& context) override;

protected:
    void onClick() override;

private:
    ContextMenu* menu_ = nullptr;
    std::weak_ptr<void> menuLife_;
};

} // namespace UI::Radudar
