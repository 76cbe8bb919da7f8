#pragma once

namespace UI {

// A font request: the system's sans-serif face at a pixel height.
struct Font {
    double size = 12.0;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

} // namespace UI
