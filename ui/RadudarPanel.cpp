#include "ui/RadudarPanel.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <cmath>

namespace UI::Radudar {

namespace {
const char* styleClassOf(Panel::Kind kind)
{
    switch (kind) {
    case Panel::Kind::BackgroundTexture: return "RadudarBackgroundTexture";
    case Panel::Kind::Box: return "RadudarBox";
    case Panel::Kind::GradientBackground: return "RadudarGradientBackground";
    case Panel::Kind::SimpleOverlay: return "RadudarSimpleOverlay";
    case Panel::Kind::XYMeterBackground: return "RadudarXYMeterBackground";
    }
    return "RadudarPanel";
}
const Font titleFont{10.0, true};
} // namespace

Panel::Panel(Canvas& canvas, Window* parent, const Util::String& name, Kind kind) : Window(canvas, parent, name), kind_(kind)
{
    setStyleClass(styleClassOf(kind));
    switch (kind) {
    case Kind::BackgroundTexture:
        declare("Image", "Image", Util::ImageName{"png/BackgroundTexture.png"});
        break;
    case Kind::Box:
        declare("Title", "String", Util::String());
        break;
    case Kind::GradientBackground:
        declare("Top Color", "Color", Color::rgb(0x34383d));
        declare("Bottom Color", "Color", Color::rgb(0x25282c));
        break;
    case Kind::SimpleOverlay:
        declare("Overlay Color", "Color", canvas.palette().color("OverlayColor"));
        break;
    case Kind::XYMeterBackground:
        declare("Divisions", "Point", Point{4, 4});
        break;
    }
}

void Panel::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    switch (kind_) {
    case Kind::BackgroundTexture:
        if (const auto image = canvas().images().get(get<Util::ImageName>("Image").name))
            context.tileImage(*image, bounds());
        break;
    case Kind::Box: {
        const Util::String& title = stringProperty("Title");
        const Rect frame{0, title.empty() ? 0 : 6, width() - 1, height() - 1};
        const Color border = palette.color("ControlBorder");
        if (title.empty()) {
            context.strokeRoundRect(frame, 4, 1, border);
            break;
        }
        // The frame breaks where the title sits in its top edge.
        const int w = int(std::ceil(DrawContext::textWidth(title, titleFont))) + 8;
        const Rect label = Rect::fromSize(8, 0, w, 13);
        context.clippedTo(Rect{0, 0, label.left - 1, height() - 1}).strokeRoundRect(frame, 4, 1, border);
        context.clippedTo(Rect{label.right + 1, 0, width() - 1, height() - 1}).strokeRoundRect(frame, 4, 1, border);
        context.clippedTo(Rect{label.left, label.bottom + 1, label.right, height() - 1}).strokeRoundRect(frame, 4, 1, border);
        context.drawTextInRect(title, titleFont, palette.color("LabelTextColor"), label, TextAlign::Center);
        break;
    }
    case Kind::GradientBackground:
        context.fillVerticalGradient(bounds(), 4, get<Color>("Top Color"), get<Color>("Bottom Color"));
        break;
    case Kind::SimpleOverlay:
        context.fillRect(bounds(), get<Color>("Overlay Color"));
        break;
    case Kind::XYMeterBackground: {
        context.fillRoundRect(bounds(), 3, palette.color("FieldFill"));
        const Point divisions = get<Point>("Divisions");
        const Color grid = palette.color("MeterGrid");
        for (int i = 1; i < divisions.x; ++i) {
            const int x = width() * i / divisions.x;
            context.fillRect(Rect{x, 2, x, height() - 3}, grid);
        }
        for (int i = 1; i < divisions.y; ++i) {
            const int y = height() * i / divisions.y;
            context.fillRect(Rect{2, y, width() - 3, y}, grid);
        }
        const Color axis = palette.color("ControlBorder");
        context.fillRect(Rect{width() / 2, 2, width() / 2, height() - 3}, axis);
        context.fillRect(Rect{2, height() / 2, width() - 3, height() / 2}, axis);
        break;
    }
    }
}

} // namespace UI::Radudar
