#pragma once
#include <X11/Xlib.h>

namespace Platform {

// Catches X protocol errors caused by our own requests. The error handler is
// process-wide (the host has its own), so it is set only while a trap lives
// and the earlier one is put back afterwards. [ui-thread]
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the server and answers whether any request failed since the trap was set.
    bool failed();
    int errorCode() const;

private:
    Display* display_;
    XErrorHandler previous_;
};

} // namespace Platform
