#pragma once
#include "platform/MessageBoxFace.h"

namespace Platform::Posix {

// The system's notices on X11. Each notice is written to the log as one line
// "title: text", then shown as a dialog on a display connection of its own
// with the face the window toolkit draws, and show() blocks the calling thread
// until the user closes the dialog.
//
// A user of a real host expects to see the notice, so the dialog is the
// default. Automation must never wait for a click: with the environment
// variable RELAY_MESSAGE_BOX=log the notice is only logged and show() returns
// at once (the test programs, relay-host and the demo set it). Without a
// display (DISPLAY unset, or the server refuses the connection) the log line
// is all there is, too.
class X11MessageBox final : public MessageBox {
public:
    static constexpr const char* ModeVariable = "RELAY_MESSAGE_BOX";
    static constexpr const char* LogOnly = "log";

    explicit X11MessageBox(MessageBoxFaceMaker makeFace);

    void show(const Util::String& title, const Util::String& text, Icon icon) override; // [any-thread], not audio

    // False when RELAY_MESSAGE_BOX asks for the log only.
    static bool dialogsWanted();

private:
    MessageBoxFaceMaker makeFace_;
};

} // namespace Platform::Posix
