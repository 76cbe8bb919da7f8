#include "ui/RadudarComboBox.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/ItemList.h"
#include "ui/RadudarContextMenu.h"
#include "ui/RadudarPushButton.h"

namespace UI::Radudar {

ComboBox::ComboBox(Canvas& canvas, Window* parent, const Util::String& name) : Button(canvas, parent, name)
{
    setStyleClass("RadudarComboBox");
    declare("Items", "String", Util::String());
    declare("Selected", "UInt", uint32_t(0));
}

ComboBox::~ComboBox()
{
    // The menu lives on the canvas; it goes with this box.
    if (menu_ && !menuLife_.expired() && menu_->parent())
        menu_->parent()->release(*menu_);
}

std::vector<Util::String> ComboBox::items() const { return splitItems(stringProperty("Items")); }

void ComboBox::select(uint32_t index)
{
    if (index >= items().size() || index == selectedIndex())
        return;
    setProperty("Selected", index);
    selectionChanged(index);
}

void ComboBox::onClick()
{
    if (!menu_) {
        menu_ = &Window::create<ContextMenu>(canvas(), name() + " Menu");
        menuLife_ = menu_->lifeToken();
    }
    menu_->clearItems();
    const auto list = items();
    for (size_t i = 0; i < list.size(); ++i)
        menu_->addItem(list[i], [this, i] { select(uint32_t(i)); });
    const Rect at = canvasFrame();
    menu_->popup({at.left, at.bottom + 2});
}

void ComboBox::draw(DrawContext& context)
{
    PushButton::drawFace(context, *this, bounds(), 4, isHovered(), isPressed(), false);
    const TWPalette& palette = canvas().palette();
    const auto list = items();
    const Util::String text = selectedIndex() < list.size() ? list[selectedIndex()] : Util::String();
    const Color ink = palette.color(isEnabledInTree() ? "LabelBrightTextColor" : "DisabledTextColor");
    context.drawTextInRect(text, {11.0, false}, ink, Rect{8, 0, width() - 20, height() - 1}, TextAlign::Left);
    const int cx = width() - 11;
    const int cy = height() / 2;
    context.fillPolygon({{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 3}}, palette.color("LabelTextColor"));
}

} // namespace UI::Radudar
