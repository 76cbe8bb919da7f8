#include "ui/BitmapWindow.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI {

BitmapWindow::BitmapWindow(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& image)
    : Window(canvas, parent, name)
{
    setStyleClass("BitmapWindow");
    declare("Image", "Image", Util::ImageName{image});
}

void BitmapWindow::draw(DrawContext& context)
{
    if (const auto image = canvas().images().get(imageName()))
        context.drawImage(*image, {0, 0});
}

} // namespace UI
