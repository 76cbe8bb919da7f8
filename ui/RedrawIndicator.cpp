#include "ui/RedrawIndicator.h"

#include "ui/DrawContext.h"
#include "ui/InputEvent.h"

#include <array>

namespace UI {

namespace {
// Saturated colours that differ from each other and from the widget set's greys.
constexpr std::array<Color, 6> cycle = {Color{255, 0, 0, 255},   Color{0, 255, 0, 255}, Color{0, 64, 255, 255},
                                        Color{255, 255, 0, 255}, Color{255, 0, 255, 255}, Color{0, 255, 255, 255}};
} // namespace

RedrawIndicator& RedrawIndicator::instance()
{
    static RedrawIndicator indicator;
    return indicator;
}

bool RedrawIndicator::active(Point pointer, bool pointerInside) const
{
    switch (mode_) {
    case Mode::On: return true;
    case Mode::Caps: return (modifiers_ & CapsLockModifier) != 0;
    case Mode::Cursor:
        return pointerInside && pointer.x >= 0 && pointer.y >= 0 && pointer.x <= CursorSquare && pointer.y <= CursorSquare;
    case Mode::Off: break;
    }
    return false;
}

void RedrawIndicator::mark(const DrawContext& context, const Rect& area)
{
    const Color color = cycle[marks_++ % cycle.size()];
    if (textOnly_) {
        context.drawText(Util::format("%1", marks_), Font{10.0, true}, color, area.left + 2,
                         area.top + 2 + DrawContext::ascender(Font{10.0, true}));
        return;
    }
    const int w = area.width(), h = area.height();
    context.fillRect(Rect::fromSize(area.left, area.top, w, 1), color);
    context.fillRect(Rect::fromSize(area.left, area.bottom, w, 1), color);
    context.fillRect(Rect::fromSize(area.left, area.top, 1, h), color);
    context.fillRect(Rect::fromSize(area.right, area.top, 1, h), color);
}

} // namespace UI
