#include "ui/FrameWindow.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI {

FrameWindow::FrameWindow(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("MainPluginWindowFrame");
}

void FrameWindow::draw(DrawContext& context)
{
    const Color line = canvas().palette().color("HeaderLine");
    context.fillRect(Rect{0, 0, width() - 1, 0}, line);
    context.fillRect(Rect{0, height() - 1, width() - 1, height() - 1}, line);
    context.fillRect(Rect{0, 0, 0, height() - 1}, line);
    context.fillRect(Rect{width() - 1, 0, width() - 1, height() - 1}, line);
}

} // namespace UI
