#include "ui/RadudarControlBackground.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

namespace UI::Radudar {

ControlBackground::ControlBackground(Canvas& canvas, Window* parent, const Util::String& name)
    : Window(canvas, parent, name)
{
    setStyleClass("RadudarControlBackground");
    declare("Image", "Image", Util::ImageName{"png/ControlBackground.png"});
}

void ControlBackground::draw(DrawContext& context)
{
    if (const auto image = canvas().images().get(get<Util::ImageName>("Image").name))
        context.drawNinePart(*image, {6, 6, 6, 6}, bounds());
    else
        context.fillRoundRect(bounds(), 4, canvas().palette().color("FieldFill"));
}

} // namespace UI::Radudar
