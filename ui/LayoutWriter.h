#pragma once
#include "util/Text.h"

namespace UI {

class Window;

// Writes a window tree as a layout document ("QxCanvasLayout-1") that the
// layout loader reads back: every window below the root as a Child element
// with its name, frame and hidden state, and every property with its type and
// value in text form. Applied to a tree with the same windows, it puts each
// back where and as it was. [ui-thread]
class LayoutWriter {
public:
    static Util::String write(const Window& root);
};

} // namespace UI
