#include "ui/RadudarLinkButton.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <cmath>

namespace UI::Radudar {

LinkButton::LinkButton(Canvas& canvas, Window* parent, const Util::String& name) : Button(canvas, parent, name)
{
    setStyleClass("RadudarLinkButton");
    declare("Title", "String", Util::String());
    declare("URL", "String", Util::String());
}

void LinkButton::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const Font font{11.0, false};
    const Color color = palette.color(!isEnabledInTree() ? "DisabledTextColor"
                                      : isHovered()      ? "AccentBrightColor"
                                                         : "AccentColor");
    const Util::String& title = stringProperty("Title");
    context.drawTextInRect(title, font, color, bounds(), TextAlign::Left);
    if (isHovered()) {
        const int w = int(std::ceil(DrawContext::textWidth(title, font)));
        const int y = (height() + int(DrawContext::lineHeight(font))) / 2 - 2;
        context.fillRect(Rect{0, y, std::min(w, width()) - 1, y}, color);
    }
}

} // namespace UI::Radudar
