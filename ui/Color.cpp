#include "ui/Color.h"

#include <charconv>
#include <cstdio>

namespace UI {

Color Color::mix(const Color& other, float t) const
{
    auto lerp = [t](uint8_t a, uint8_t b) { return uint8_t(float(a) + (float(b) - float(a)) * t + 0.5f); };
    return {lerp(r, other.r), lerp(g, other.g), lerp(b, other.b), lerp(a, other.a)};
}

std::optional<Color> Color::fromHex(std::string_view text)
{
    if (text.size() != 6 && text.size() != 8)
        return std::nullopt;
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (text.size() == 6)
        return Color::rgb(value);
    return Color{uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

Util::String Color::toHex() const
{
    char buffer[12];
    if (a == 255)
        std::snprintf(buffer, sizeof buffer, "%02x%02x%02x", r, g, b);
    else
        std::snprintf(buffer, sizeof buffer, "%02x%02x%02x%02x", r, g, b, a);
    return buffer;
}

} // namespace UI
