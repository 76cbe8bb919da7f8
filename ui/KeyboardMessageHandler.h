#pragma once
#include "ui/InputEvent.h"

namespace UI {

// Receives the key presses that no window of the tree took. [ui-thread]
class KeyboardMessageHandler {
public:
    virtual ~KeyboardMessageHandler() = default;
    // True when the key was used.
    virtual bool handleKey(const KeyEvent& key) = 0;
};

} // namespace UI
