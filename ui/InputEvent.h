#pragma once
#include "ui/Geometry.h"
#include "util/Text.h"

#include <cstdint>
#include <optional>

namespace UI {

// Pointer input in canvas pixels, from the native window or from the wrapper.
// Decoding is [any-thread]; the events are handled on the [ui-thread].
//
// The wrapper's two record forms carry the same event in words:
//   form 1 (selector 29): {kind, x, y, modifiers, flag}; flag nonzero on a Move
//                         means a button is held (read as Drag);
//   form 2 (selector 30): {kind, x, y, modifiers, wheel delta (signed, 120 a
//                         notch), use-current-point}; with use-current-point
//                         set, x and y are ignored and the pointer's last
//                         position in the window is taken.
enum class InputKind : uint32_t {
    Move = 0,       // pointer moved, no button held
    Drag = 1,       // pointer moved with the left button held
    Down = 2,       // left button pressed
    Up = 3,         // left button released
    Leave = 4,      // pointer left the window
    DoubleDown = 5, // second press of a double click
    Wheel = 6,      // wheel turned; delta in wheelDelta
    RightDown = 7,  // context button pressed
    RightUp = 8,    // context button released
};

// Modifier bits of the modifiers word.
enum ModifierBits : uint32_t {
    ShiftModifier = 1,
    ControlModifier = 2,
    AltModifier = 4,
    MetaModifier = 8,
    AltGraphModifier = 16,
    CapsLockModifier = 32, // Caps Lock is on
};

struct InputEvent {
    InputKind kind = InputKind::Move;
    Point point;
    uint32_t modifiers = 0;
    int wheelDelta = 0;

    // Decodes the words of the two wrapper forms; nothing for an unknown kind.
    static std::optional<InputEvent> fromForm1(uint32_t kind, uint32_t x, uint32_t y, uint32_t modifiers, uint32_t flag);
    static std::optional<InputEvent> fromForm2(uint32_t kind, uint32_t x, uint32_t y, uint32_t modifiers,
                                               uint32_t wheel, bool useCurrentPoint, Point currentPoint);
};

// A key press. Keys with no text have a code; text keys carry UTF-8 text.
struct KeyEvent {
    enum Code : uint32_t { Text = 0, Backspace, Delete, Left, Right, Up, Down, Home, End, Return, Escape, Tab };
    Code code = Text;
    Util::String text;
    uint32_t modifiers = 0;
};

} // namespace UI
