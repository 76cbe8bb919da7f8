#pragma once
#include <X11/Xlib.h>

#include <memory>

namespace Platform::Posix {

// Opens the default display. A busy X server can refuse a connection for a
// moment (seen under parallel load); a few quick retries ride that out.
Display* openX11Display();

// Owns a display connection and closes it.
struct X11DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using X11DisplayHandle = std::unique_ptr<Display, X11DisplayCloser>;

} // namespace Platform::Posix
