#include "ui/RadudarPopoverBackground.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI::Radudar {

PopoverBackground::PopoverBackground(Canvas& canvas, Window* parent, const Util::String& name)
    : Window(canvas, parent, name)
{
    setStyleClass("RadudarPopoverBackground");
    declare("Image Base Name", "String", Util::String("png/PopoverBackground"));
}

void PopoverBackground::draw(DrawContext& context)
{
    static const char* const parts[3][3] = {{"TopLeft", "Top", "TopRight"},
                                            {"Left", "Center", "Right"},
                                            {"BottomLeft", "Bottom", "BottomRight"}};
    const Util::String& base = stringProperty("Image Base Name");
    std::shared_ptr<const Image> images[3][3];
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (!(images[row][col] = canvas().images().get(base + "_" + parts[row][col] + ".png"))) {
                context.fillRoundRect(bounds(), 6, canvas().palette().color("MenuFill"));
                return;
            }
    // Corners keep their size; edges and centre stretch between them.
    const int left = images[0][0]->width(), right = images[0][2]->width();
    const int top = images[0][0]->height(), bottom = images[2][0]->height();
    const int xs[4] = {0, left, width() - right, width()};
    const int ys[4] = {0, top, height() - bottom, height()};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const Rect to{xs[col], ys[row], xs[col + 1] - 1, ys[row + 1] - 1};
            if (!to.empty())
                context.drawImageStretched(*images[row][col], images[row][col]->bounds(), to);
        }
}

} // namespace UI::Radudar
