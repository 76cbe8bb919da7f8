#pragma once
#include "util/Text.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace UI {

// A colour with straight (not premultiplied) alpha.
struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    static constexpr Color rgb(uint32_t rrggbb, uint8_t alpha = 255)
    {
        return {uint8_t(rrggbb >> 16), uint8_t(rrggbb >> 8), uint8_t(rrggbb), alpha};
    }
    Color withAlpha(uint8_t alpha) const { return {r, g, b, alpha}; }
    // Mixes towards `other` by t in [0, 1].
    Color mix(const Color& other, float t) const;

    // "RRGGBB" or "RRGGBBAA", hexadecimal digits of either case.
    static std::optional<Color> fromHex(std::string_view text);
    // "rrggbb", with "aa" appended when not opaque.
    Util::String toHex() const;

    bool operator==(const Color&) const = default;
};

} // namespace UI
