#pragma once
#include "ui/Geometry.h"

#include <cstdint>

namespace UI {

class DrawContext;

// Shows where and how often the window trees redraw: after each redraw, the
// area just drawn is outlined in the next colour of a short cycle (or, text
// only, labelled with the redraw's number), so that an area drawn without a
// need stands out. One setting for the process, as a developer switches it
// for every open window at once. Modes: always on, on while Caps Lock is on,
// on while the pointer is in the square [0,0 20,20] of the window, off. [ui-thread]
class RedrawIndicator {
public:
    enum class Mode { Off, On, Caps, Cursor };
    static constexpr int CursorSquare = 20;

    static RedrawIndicator& instance();

    Mode mode() const { return mode_; }
    void setMode(Mode mode) { mode_ = mode; }
    bool textOnly() const { return textOnly_; }
    void setTextOnly(bool on) { textOnly_ = on; }
    // The modifier word of the latest input (for the Caps Lock bit).
    void noteModifiers(uint32_t modifiers) { modifiers_ = modifiers; }

    // Whether a redraw now is marked, with the pointer where the tree last saw it.
    bool active(Point pointer, bool pointerInside) const;
    // Marks `area` (in the context's pixels) as just redrawn and counts it.
    void mark(const DrawContext& context, const Rect& area);
    uint64_t marks() const { return marks_; }

private:
    Mode mode_ = Mode::Off;
    bool textOnly_ = false;
    uint32_t modifiers_ = 0;
    uint64_t marks_ = 0;
};

} // namespace UI
