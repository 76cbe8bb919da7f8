#include "ui/InputEvent.h"

namespace UI {

namespace {
std::optional<InputKind> kindOf(uint32_t kind)
{
    if (kind > uint32_t(InputKind::RightUp))
        return std::nullopt;
    return InputKind(kind);
}
} // namespace

std::optional<InputEvent> InputEvent::fromForm1(uint32_t kind, uint32_t x, uint32_t y, uint32_t modifiers, uint32_t flag)
{
    auto k = kindOf(kind);
    if (!k)
        return std::nullopt;
    if (*k == InputKind::Move && flag != 0)
        k = InputKind::Drag;
    return InputEvent{*k, {int32_t(x), int32_t(y)}, modifiers, 0};
}

std::optional<InputEvent> InputEvent::fromForm2(uint32_t kind, uint32_t x, uint32_t y, uint32_t modifiers,
                                                uint32_t wheel, bool useCurrentPoint, Point currentPoint)
{
    const auto k = kindOf(kind);
    if (!k)
        return std::nullopt;
    const Point at = useCurrentPoint ? currentPoint : Point{int32_t(x), int32_t(y)};
    return InputEvent{*k, at, modifiers, int32_t(wheel)};
}

} // namespace UI
