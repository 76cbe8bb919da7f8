#include "ui/RadudarListBox.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/ItemList.h"

#include <algorithm>

namespace UI::Radudar {

namespace {
constexpr int rowHeight = 18;
}

ListBox::ListBox(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RadudarListBox");
    declare("Items", "String", Util::String());
    declare("Selected", "Int", int32_t(-1));
}

std::vector<Util::String> ListBox::items() const { return splitItems(stringProperty("Items")); }

void ListBox::select(int index)
{
    if (index < -1 || index >= int(items().size()) || index == selectedIndex())
        return;
    setProperty("Selected", int32_t(index));
    selectionChanged(index);
}

void ListBox::pointerDown(const InputEvent& event)
{
    const int row = firstRow_ + (event.point.y - 2) / rowHeight;
    if (row >= 0 && row < int(items().size()))
        select(row);
}

bool ListBox::wheel(const InputEvent& event)
{
    const int visible = std::max(1, (height() - 4) / rowHeight);
    const int last = std::max(0, int(items().size()) - visible);
    const int next = std::clamp(firstRow_ - (event.wheelDelta > 0 ? 1 : -1), 0, last);
    if (next == firstRow_)
        return false;
    firstRow_ = next;
    invalidate();
    return true;
}

void ListBox::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    context.fillRoundRect(bounds(), 3, palette.color("FieldBorder"));
    context.fillRoundRect(Rect{1, 1, width() - 2, height() - 2}, 2, palette.color("FieldFill"));
    const DrawContext inside = context.clippedTo(Rect{1, 2, width() - 2, height() - 3});
    const auto list = items();
    for (int row = firstRow_; row < int(list.size()); ++row) {
        const Rect r = Rect::fromSize(2, 2 + (row - firstRow_) * rowHeight, width() - 4, rowHeight);
        if (r.top > height())
            break;
        const bool chosen = row == selectedIndex();
        if (chosen)
            inside.fillRoundRect(r, 2, palette.color("SelectionFill"));
        const Color ink = palette.color(!isEnabledInTree() ? "DisabledTextColor" : chosen ? "LabelBrightTextColor" : "LabelTextColor");
        inside.drawTextInRect(list[size_t(row)], {11.0, false}, ink, Rect{r.left + 6, r.top, r.right, r.bottom}, TextAlign::Left);
    }
}

} // namespace UI::Radudar
