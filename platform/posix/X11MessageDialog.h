#pragma once
#include "platform/MessageBoxFace.h"
#include "platform/posix/X11Connection.h"
#include "platform/posix/X11ConnectionGuard.h"
#include "platform/posix/X11Image.h"

#include <X11/Xlib.h>

#include <memory>

namespace Platform::Posix {

// One notice on screen: a top-level dialog window without owner, on a display
// connection of its own, that shows a MessageBoxFace and waits for the
// user. It takes synthetic events as well as real ones (tests and assistive
// tools send them). Everything runs on the thread that made it.
// [any-thread], not audio
class X11MessageDialog {
public:
    // Null when the screen cannot show it (no TrueColor visual of 24 bits or more).
    static std::unique_ptr<X11MessageDialog> create(X11DisplayHandle display, const Util::String& title,
                                                    std::unique_ptr<MessageBoxFace> face);
    ~X11MessageDialog();
    X11MessageDialog(const X11MessageDialog&) = delete;
    X11MessageDialog& operator=(const X11MessageDialog&) = delete;

    // Shows the window and handles its events until the user closes it (a
    // click on OK; Return, Enter, Escape or space; the window manager's close
    // button), the window is destroyed, or the connection to the display is lost.
    void run();

private:
    X11MessageDialog(X11DisplayHandle display, Visual* visual, int depth, const Util::String& title,
                     std::unique_ptr<MessageBoxFace> face);
    void createWindow(Visual* visual, int depth);
    void describeWindow(const Util::String& title);
    void setTextProperty(const char* property, const Util::String& text);
    void handle(const XEvent& event);
    void showPressed(bool pressed);
    void repaint();
    void waitForEvents() const;

    X11ConnectionGuard guard_; // outlives the connection
    X11DisplayHandle display_;
    std::unique_ptr<MessageBoxFace> face_;
    int width_;
    int height_;
    ::Window window_ = 0;
    GC gc_ = nullptr;
    X11Image image_;
    Atom protocols_;
    Atom deleteWindow_;
    bool holding_ = false; // the pointer went down on the button and has not come up
    bool closed_ = false;
};

} // namespace Platform::Posix
