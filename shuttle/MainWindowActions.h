#pragma once
#include "util/Text.h"
#include "util/Trackable.h"

namespace Shuttle {

// What the shuttle asks of the plug-in's main window. The window registers
// itself with the product transform while it lives; every call comes on the
// user-interface thread, from a command's low side.
class MainWindowActions : public Trackable {
public:
    virtual void showInfoText(const Util::String& text) = 0;
    // The same as the window's Discard button.
    virtual void discardAction() = 0;
    // Loads the repaired files the editor left, when the window may.
    virtual void loadRepairedAction() = 0;
    // Stores the mode (true: REFERENCE) and applies it.
    virtual void setReference(bool reference) = 0;
};

} // namespace Shuttle
